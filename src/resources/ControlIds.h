#pragma once
// Identifiers of the dialogs and of the controls the program talks to.

namespace kv {

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_MAIN = 102;
inline constexpr int IDM_ABOUTBOX = 16;  // window-menu item that opens the about box

// Main window
inline constexpr int IDC_SIGNAL_LIST = 1000;
inline constexpr int IDC_LOAD = 1001;
inline constexpr int IDC_STATUS = 1002;
inline constexpr int IDC_NAME = 1004;
inline constexpr int IDC_BUY_DATE = 1005;
inline constexpr int IDC_SELL_DATE = 1006;
inline constexpr int IDC_RESULT = 1007;
inline constexpr int IDC_BUY_PRICE = 1008;
inline constexpr int IDC_SELL_PRICE = 1009;
inline constexpr int IDC_PERFORMANCE = 1010;
inline constexpr int IDC_RUN = 1011;
inline constexpr int IDC_CODE = 1012;
inline constexpr int IDC_UNIT = 1013;
inline constexpr int IDC_STATISTICS = 1014;
inline constexpr int IDC_RESET = 1015;
inline constexpr int IDC_OPTIONS = 1016;
inline constexpr int IDC_START_DATE = 1017;
inline constexpr int IDC_END_DATE = 1018;
inline constexpr int IDC_STATE = 1019;
inline constexpr int IDC_CURRENT_DATE = 1020;
inline constexpr int IDC_CANDIDATE_LIST = 1021;
inline constexpr int IDC_HOLDINGS_FIGURE = 1022;
inline constexpr int IDC_OPERATING_ASSETS = 1023;
inline constexpr int IDC_HOLDINGS_LIST = 1024;
inline constexpr int IDC_SELL_LIST = 1025;
inline constexpr int IDC_TOTAL_ASSETS = 1026;
inline constexpr int IDC_NEXT = 1027;
inline constexpr int IDC_AUTO = 1028;
inline constexpr int IDC_STOP = 1029;
inline constexpr int IDC_SELL_FIGURE = 1030;
inline constexpr int IDC_HISTORY = 1031;
inline constexpr int IDC_SET_END = 1032;
inline constexpr int IDC_SET_START = 1033;

// Timer event of automatic stepping
inline constexpr int kAutoTimerEvent = 1;

}  // namespace kv
