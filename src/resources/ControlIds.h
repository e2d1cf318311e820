// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Identifiers of the dialogs and of the controls the program talks to.

namespace kv {

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_MAIN = 102;
inline constexpr int IDD_PRINT = 129;  // the statistics
inline constexpr int IDD_OPTIONS = 130;
inline constexpr int IDD_EXTENDED_OPTIONS = 131;  // 詳細設定: the settings of kirvane.ini
inline constexpr int IDD_TRADE_RECORD = 132;
inline constexpr int IDD_RESULTS = 140;
inline constexpr int IDD_OPTIMISATION = 150;
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
inline constexpr int IDC_RESULTS = 1090;   // 運用成績: opens the results window
inline constexpr int IDC_OPTIMISE = 1091;  // 最適化: opens the optimisation window

// Results window
inline constexpr int IDC_RESULTS_CHART = 1101;
inline constexpr int IDC_RESULTS_FIGURES = 1102;
inline constexpr int IDC_RESULTS_MONTHS = 1103;
inline constexpr int IDC_RESULTS_YEARS = 1104;
inline constexpr int IDC_RESULTS_REFRESH = 1105;
inline constexpr int IDC_RESULTS_SAVE_IMAGE = 1106;
inline constexpr int IDC_RESULTS_SAVE_CSV = 1107;
inline constexpr int IDC_RESULTS_SAVE_REPORT = 1108;
inline constexpr int IDC_RESULTS_CAPITAL_USE = 1109;   // 概要: what the run did with its capital
inline constexpr int IDC_RESULTS_PAGES = 1120;         // the tab bar: 概要, 取引一覧, 月別
inline constexpr int IDC_RESULTS_TRADE_FILTER = 1121;  // 取引一覧: code or name to look for
inline constexpr int IDC_RESULTS_TRADE_COUNT = 1122;   // the number of trades shown
inline constexpr int IDC_RESULTS_TRADES = 1123;
inline constexpr int IDC_RESULTS_TRADE_SUMS = 1124;  // the sums of the trades shown
inline constexpr int IDC_RESULTS_MONTH_MAP = 1125;   // 月別: the monthly returns by year
// モンテカルロ: the number of paths, the seed and the order, the run button, the fan chart of the
// assets, the histogram of the drawdowns and the figures
inline constexpr int IDC_RESULTS_MC_PATHS = 1126;
inline constexpr int IDC_RESULTS_MC_SEED = 1127;
inline constexpr int IDC_RESULTS_MC_ORDER = 1128;
inline constexpr int IDC_RESULTS_MC_RUN = 1129;
inline constexpr int IDC_RESULTS_MC_FAN = 1130;
inline constexpr int IDC_RESULTS_MC_HISTOGRAM = 1131;
inline constexpr int IDC_RESULTS_MC_FIGURES = 1132;

// Optimisation window: the two axes (setting, FROM, TO, STEP or a list of values each), the
// figure to rank by, the hold-out date, and the run and its results
inline constexpr int IDC_OPTIM_SETTING1 = 1201;
inline constexpr int IDC_OPTIM_FROM1 = 1202;
inline constexpr int IDC_OPTIM_TO1 = 1203;
inline constexpr int IDC_OPTIM_STEP1 = 1204;
inline constexpr int IDC_OPTIM_LIST1 = 1205;
inline constexpr int IDC_OPTIM_SETTING2 = 1206;
inline constexpr int IDC_OPTIM_FROM2 = 1207;
inline constexpr int IDC_OPTIM_TO2 = 1208;
inline constexpr int IDC_OPTIM_STEP2 = 1209;
inline constexpr int IDC_OPTIM_LIST2 = 1210;
inline constexpr int IDC_OPTIM_FIGURE = 1211;
inline constexpr int IDC_OPTIM_HOLDOUT = 1212;
inline constexpr int IDC_OPTIM_COUNT = 1213;
inline constexpr int IDC_OPTIM_START = 1214;
inline constexpr int IDC_OPTIM_CANCEL = 1215;
inline constexpr int IDC_OPTIM_PROGRESS = 1216;
inline constexpr int IDC_OPTIM_PROGRESS_TEXT = 1217;
inline constexpr int IDC_OPTIM_TABLE = 1218;
inline constexpr int IDC_OPTIM_HEATMAP = 1219;      // the ranking figure (in-sample with a hold-out)
inline constexpr int IDC_OPTIM_HEATMAP_OOS = 1220;  // out-of-sample
inline constexpr int IDC_OPTIM_SAVE_CSV = 1221;
inline constexpr int IDC_OPTIM_WALK_FORWARD = 1223;  // "24:6": choose on 24 months, trade the next 6
inline constexpr int IDC_OPTIM_CHART = 1222;  // one setting: the ranking figure against its values

// Statistics dialog: simple totals over all signals
inline constexpr int IDC_ALL_SUCCESSES = 1034;
inline constexpr int IDC_ALL_FAILURES = 1035;
inline constexpr int IDC_ALL_SIGNALS = 1036;
inline constexpr int IDC_ALL_SUCCESS_LOSSES = 1037;
inline constexpr int IDC_ALL_FAILURE_PROFITS = 1038;
inline constexpr int IDC_ALL_UNKNOWNS = 1039;
inline constexpr int IDC_ALL_SUCCESS_AVERAGE = 1040;
inline constexpr int IDC_ALL_FAILURE_AVERAGE = 1041;
inline constexpr int IDC_ALL_SUCCESS_SHARE = 1042;
inline constexpr int IDC_ALL_FAILURE_SHARE = 1043;
inline constexpr int IDC_ALL_SIMPLE_AVERAGE = 1044;
inline constexpr int IDC_ALL_UNKNOWN_SHARE = 1045;
inline constexpr int IDC_ALL_PER_DAY_AVERAGE = 1084;

// Statistics dialog: one stock's figures and the rankings
inline constexpr int IDC_STOCK_CODE = 1012;  // the main window's 証券コード has the same number
inline constexpr int IDC_STOCK_SUCCESSES = 1046;
inline constexpr int IDC_STOCK_FAILURES = 1047;
inline constexpr int IDC_RANK_PROFIT_TOP = 1048;
inline constexpr int IDC_RANK_PROFIT_BOTTOM = 1049;
inline constexpr int IDC_STOCK_SIGNALS = 1050;
inline constexpr int IDC_RANK_SIGNAL_COUNT = 1051;
inline constexpr int IDC_STOCK_SUCCESS_LOSSES = 1052;
inline constexpr int IDC_STOCK_NAME = 1053;
inline constexpr int IDC_RANK_SUCCESS_RATE = 1054;
inline constexpr int IDC_HIDE_ONE_SIGNAL = 1055;
inline constexpr int IDC_STOCK_TOTAL = 1056;
inline constexpr int IDC_RANK_FAILURE_RATE = 1057;
inline constexpr int IDC_HIDE_TWO_SIGNALS = 1059;
inline constexpr int IDC_STOCK_FAILURE_PROFITS = 1061;
inline constexpr int IDC_STOCK_UNKNOWNS = 1062;
inline constexpr int IDC_STOCK_SUCCESS_AVERAGE = 1063;
inline constexpr int IDC_STOCK_FAILURE_AVERAGE = 1064;
inline constexpr int IDC_STOCK_SUCCESS_SHARE = 1065;
inline constexpr int IDC_STOCK_FAILURE_SHARE = 1066;
inline constexpr int IDC_STOCK_SIMPLE_AVERAGE = 1067;
inline constexpr int IDC_STOCK_UNKNOWN_SHARE = 1068;

// Statistics dialog: the period lists and the chosen period's totals
inline constexpr int IDC_PERIOD_SUCCESSES = 1058;
inline constexpr int IDC_YEAR_LIST = 1060;
inline constexpr int IDC_MONTH_LIST = 1069;
inline constexpr int IDC_DAY_LIST = 1070;
inline constexpr int IDC_METHOD_LIST = 1071;
inline constexpr int IDC_PERIOD_FAILURES = 1072;
inline constexpr int IDC_PERIOD_SIGNALS = 1073;
inline constexpr int IDC_PERIOD_SUCCESS_LOSSES = 1074;
inline constexpr int IDC_PERIOD_FAILURE_PROFITS = 1075;
inline constexpr int IDC_PERIOD_UNKNOWNS = 1076;
inline constexpr int IDC_PERIOD_SUCCESS_AVERAGE = 1077;
inline constexpr int IDC_PERIOD_FAILURE_AVERAGE = 1078;
inline constexpr int IDC_PERIOD_SUCCESS_SHARE = 1079;
inline constexpr int IDC_PERIOD_FAILURE_SHARE = 1080;
inline constexpr int IDC_PERIOD_SIMPLE_AVERAGE = 1081;
inline constexpr int IDC_PERIOD_UNKNOWN_SHARE = 1082;
inline constexpr int IDC_PERIOD_PER_DAY_AVERAGE = 1083;
// Options dialog
inline constexpr int IDC_OPT_CAPITAL = 1024;
inline constexpr int IDC_OPT_LOSS = 1025;
inline constexpr int IDC_OPT_LEVERAGE = 1026;
inline constexpr int IDC_OPT_MARGIN_RATE = 1027;
inline constexpr int IDC_OPT_COMMISSION = 1028;
inline constexpr int IDC_OPT_TAX_RATE = 1029;
inline constexpr int IDC_OPT_MAX_STOCKS = 1030;
inline constexpr int IDC_OPT_BUY_PRIORITY = 1031;
inline constexpr int IDC_OPT_OPERATION_TYPE = 1032;
inline constexpr int IDC_OPT_SAVE_LOG = 1033;
inline constexpr int IDC_OPT_UNKNOWN_RATE = 1034;
inline constexpr int IDC_OPT_OPERATING_RATE = 1035;
inline constexpr int IDC_OPT_ORDER = 1036;
inline constexpr int IDC_OPT_MAX_PURCHASE = 1037;
inline constexpr int IDC_OPT_SHORT_SELL = 1038;
inline constexpr int IDC_OPT_EXTENDED = 1039;  // 詳細設定...: opens the settings of kirvane.ini
// The control of the k-th setting of kirvane.ini (in the settings table's order) in 詳細設定.
inline constexpr int IDC_EXT_FIRST = 1400;
constexpr int extendedOptionControl(int k)
{
    return IDC_EXT_FIRST + k;
}

// Trade record viewer
inline constexpr int IDC_RECORD_REFRESH = 1023;
inline constexpr int IDC_RECORD_SAVE = 1024;
inline constexpr int IDC_RECORD_TEXT = 1031;

// Timer event of automatic stepping
inline constexpr int kAutoTimerEvent = 1;
// Timer event of the optimisation window: the sweep's progress, and the count of combinations
inline constexpr int kOptimisationTimerEvent = 2;

}  // namespace kv
