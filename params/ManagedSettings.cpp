#include "ManagedSettings.h"

#include "MemoryRegistry.h"
#include "TcpipKeys.h"

std::vector<RegSetting> ManagedSettings(IRegistry &registry, const CTcpParams &params)
{
    using namespace TcpipKeys;
    std::vector<RegSetting> settings;
    auto add = [&](const WString &strPath, const WCHAR *pszName) {
        RegSetting setting;
        setting.strPath = strPath;
        setting.strName = pszName;
        HKEY hKey = nullptr;
        if (registry.OpenKey(HKEY_LOCAL_MACHINE, strPath.c_str(), &hKey) == ERROR_SUCCESS)
        {
            setting.bPresent = ReadValue(registry, hKey, pszName, &setting.value);
            registry.CloseKey(hKey);
        }
        settings.push_back(setting);
    };
    WString strStack = WString(COMM) + STACK_PARMS;
    for (const WCHAR *pszName : { TCP_WINDOW_SIZE, DEFAULT_TTL, ENABLE_PMTU_DISCOVERY, SACK_OPTS, TCP1323_OPTS })
        add(strStack, pszName);
    for (int i = 0; i < params.m_nAdapters; i++)
        add(WString(COMM) + SEPARATOR + static_cast<const WCHAR *>(params.m_pAdapters[i].m_strKeyName) + ADAPTER_PARMS,
            TCP_WINDOW_SIZE);
    return settings;
}

std::vector<RegSetting> SavedSettings(CTcpParams &params)
{
    CMemoryRegistry registry;
    params.Save(registry);
    return ManagedSettings(registry, params);
}
