#include "CalculatorDlg.h"

#include "FormatText.h"
#include "ResourceString.h"
#include "TcpipKeys.h"
#include "WindowPlot.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CCalculatorDlg, CDialog)
    ON_CONTROL_RANGE(EN_CHANGE, IDC_CALC_SPEED, IDC_CALC_MTU, OnChangeInput)
    ON_BN_CLICKED(IDC_CALC_USE, OnUse)
    ON_MESSAGE(WM_DRAWITEM, OnDrawItem)
END_MESSAGE_MAP()

CCalculatorDlg::CCalculatorDlg(bool bAdapter, DWORD dwCurrentWindow, CWnd *pParentWnd)
    : CDialog(IDD_CALCULATOR, pParentWnd), m_bAdapter(bAdapter), m_dwCurrentWindow(dwCurrentWindow)
{
}

BOOL CCalculatorDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemInt(IDC_CALC_MTU, m_dwMtu, FALSE);
    Calculate();
    CenterWindow();
    return TRUE;
}

void CCalculatorDlg::OnChangeInput(UINT)
{
    Calculate();
}

void CCalculatorDlg::Calculate()
{
    CString strFault = ReadInputs();
    m_bValid = strFault.IsEmpty();
    if (m_bValid)
        m_advice = AdviseWindow(m_dwSpeed, m_dwRtt, m_dwMtu);
    SetDlgItemTextW(m_hWnd, IDC_CALC_WINDOW, m_bValid ? DecimalText(m_advice.dwWindow) : CString());
    SetDlgItemTextW(m_hWnd, IDC_CALC_EXPLANATION, m_bValid ? Explanation() : strFault);
    EnableWindow(GetDlgItem(IDC_CALC_USE), m_bValid && m_bAdapter);
    InvalidateRect(GetDlgItem(IDC_CALC_PLOT), nullptr, FALSE);
}

CString CCalculatorDlg::ReadInputs()
{
    const struct
    {
        int nID;
        const InputRange &range;
        DWORD &dwValue;
        UINT nIDName;
        UINT nIDUnit;
    } fields[] = { { IDC_CALC_SPEED, SPEED_RANGE, m_dwSpeed, IDS_CALC_SPEED, IDS_CALC_KBITS },
                   { IDC_CALC_RTT, RTT_RANGE, m_dwRtt, IDS_CALC_RTT, IDS_CALC_MS },
                   { IDC_CALC_MTU, MTU_RANGE, m_dwMtu, IDS_CALC_MTU, IDS_CALC_BYTES } };
    for (const auto &field : fields)
    {
        UINT nIDFault = 0;
        switch (ReadInput(GetDlgItemText(field.nID), field.range, field.dwValue))
        {
        case InputFault::None: continue;
        case InputFault::Empty: nIDFault = IDS_CALC_EMPTY; break;
        case InputFault::NotANumber: nIDFault = IDS_CALC_NOT_A_NUMBER; break;
        case InputFault::OutOfRange: nIDFault = IDS_CALC_OUT_OF_RANGE; break;
        }
        return FormatResource(nIDFault, { LoadResourceString(field.nIDName), DecimalText(field.range.dwLow),
                                          DecimalText(field.range.dwHigh), LoadResourceString(field.nIDUnit) });
    }
    return CString();
}

// What the suggestion is made of, then what the adapter's window allows now.
CString CCalculatorDlg::Explanation() const
{
    UINT nIDAdvice = m_advice.bLargest                                        ? IDS_CALC_ADVICE_LARGEST
                     : m_advice.dwWindow > TcpipKeys::LARGEST_UNSCALED_WINDOW ? IDS_CALC_ADVICE_SCALED
                                                                              : IDS_CALC_ADVICE;
    CString strAdvice = FormatResource(nIDAdvice, { DecimalText(m_advice.qwDelayProduct),
                                                    DecimalText(m_advice.dwSegments),
                                                    DecimalText(m_advice.dwSegmentSize),
                                                    DecimalText(TcpipKeys::LARGEST_WINDOW) });
    if (!m_bAdapter)
        return FormatResource(IDS_CALC_SENTENCES, { strAdvice, LoadResourceString(IDS_CALC_NO_ADAPTER) });
    CString strCurrent = FormatResource(IDS_CALC_CURRENT, { DecimalText(m_dwCurrentWindow),
                                                           DecimalText(MostThroughput(m_dwCurrentWindow, m_dwRtt)) });
    return FormatResource(IDS_CALC_SENTENCES, { strAdvice, strCurrent });
}

// The button is enabled only then; a message from elsewhere is checked too.
void CCalculatorDlg::OnUse()
{
    if (m_bValid && m_bAdapter)
        EndDialog(IDC_CALC_USE);
}

LRESULT CCalculatorDlg::OnDrawItem(WPARAM, LPARAM lParam)
{
    const DRAWITEMSTRUCT &item = *reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
    if (item.CtlID != IDC_CALC_PLOT)
        return FALSE;
    WindowPlot plot = { m_dwSpeed, m_dwRtt, m_advice.dwWindow, m_bAdapter, m_dwCurrentWindow };
    DrawWindowPlot(item.hDC, item.rcItem, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)), m_bValid ? &plot : nullptr);
    return TRUE;
}
