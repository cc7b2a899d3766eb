// Loading when the adapter table cannot be allocated.
#include "MemoryRegistry.h"
#include "RegistryHelpers.h"
#include "TcpParams.h"

#include <new>

namespace
{

bool g_bFailTableAllocation = false;

} // namespace

// The table is the only array the store allocates without throwing.
void *operator new[](std::size_t cbSize, const std::nothrow_t &) noexcept
{
    if (g_bFailTableAllocation)
        return nullptr;
    try
    {
        return ::operator new[](cbSize);
    }
    catch (...)
    {
        return nullptr;
    }
}

namespace
{

TEST(AllocationFailure, LeavesAnEmptyTableWithACountOfZero)
{
    CMemoryRegistry registry;
    SetDword(registry, TEXT("Comm\\Tcpip\\Parms"), TEXT("DefaultTTL"), 64);
    MakeKey(registry, TEXT("Comm\\eth0\\Parms\\TcpIp"));
    MakeKey(registry, TEXT("Comm\\ppp1\\Parms\\TcpIp"));
    CTcpParams params;
    ASSERT_TRUE(params.Load(registry));
    ASSERT_EQ(2, params.m_nAdapters);

    g_bFailTableAllocation = true;
    params.Load(registry);
    g_bFailTableAllocation = false;
    EXPECT_EQ(0, params.m_nAdapters);
    EXPECT_EQ(nullptr, params.m_pAdapters.get());
    EXPECT_EQ(64u, params.m_dwDefaultTTL) << "the stack values are still read";
    EXPECT_EQ(0, registry.OpenHandles());
}

} // namespace
