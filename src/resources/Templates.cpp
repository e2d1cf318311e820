#include "resources/Templates.h"

#include "resources/ControlIds.h"
#include "text/Cp932.h"

namespace kv {

namespace {

ControlTemplate label(const char* utf8, int x, int y, int w, int h)
{
    return {ControlKind::Label, IDC_STATIC, toCp932(utf8), x, y, w, h};
}

ControlTemplate display(int id, int x, int y, int w, int h, unsigned extra = StyleNone)
{
    return {ControlKind::Edit, id, {}, x, y, w, h, StyleReadOnly | StyleBorder | extra};
}

ControlTemplate button(int id, const char* utf8, int y, int h, unsigned extra = StyleNone)
{
    return {ControlKind::Button, id, toCp932(utf8), 390, y, 50, h, extra};
}

ControlTemplate list(int id, int x, int y, int w, int h)
{
    return {ControlKind::ListBox, id, {}, x, y, w, h, StyleBorder | StyleVScroll};
}

DialogTemplate buildMainDialog()
{
    DialogTemplate t{IDD_MAIN, "Kirvane", toCp932("ＭＳ ゴシック"), 8, 448, 364};
    t.minimizeBox = true;
    auto& c = t.controls;

    c.push_back(label("コード,銘柄,シグナル日付,購入価格,結果,終了日付,売却価格,パフォーマンス,売買単位",
                      5, 4, 309, 9));
    c.push_back(list(IDC_SIGNAL_LIST, 1, 14, 316, 203));

    // Detail pane: a labelled column of read-only fields beside the upper buttons.
    c.push_back({ControlKind::GroupBox, IDC_STATIC, toCp932("データ"), 319, 4, 125, 215});
    struct Detail { int id; const char* caption; int y; };
    const Detail details[] = {
        {IDC_CODE, "証券コード", 22},       {IDC_NAME, "銘柄名", 44},
        {IDC_BUY_DATE, "購入日", 66},       {IDC_SELL_DATE, "売却日", 89},
        {IDC_RESULT, "成果", 111},          {IDC_BUY_PRICE, "購入価格", 133},
        {IDC_SELL_PRICE, "売却価格", 155},  {IDC_PERFORMANCE, "パフォーマンス", 177},
        {IDC_UNIT, "売買単位", 200},
    };
    for (const Detail& d : details) {
        c.push_back(label(d.caption, 323, d.y - 9, 62, 8));
        c.push_back(display(d.id, 323, d.y, 62, 12));
    }

    c.push_back(button(IDC_SET_START, "開始日指定", 12, 18));
    c.push_back(button(IDC_SET_END, "終了日指定", 32, 19));
    c.push_back(button(IDC_OPTIONS, "オプション", 80, 17));
    c.push_back(button(IDC_HISTORY, "売買履歴", 99, 17, StyleDisabled));
    c.push_back(button(IDC_STATISTICS, "集計結果", 118, 17));
    c.push_back(button(IDC_LOAD, "読み込み", 161, 17));
    c.push_back(button(IDC_RUN, "実行", 180, 17));
    c.push_back(button(IDOK, "終了", 199, 16, StyleDefault));

    // Simulation group: window, state and asset figures, the three portfolio lists, stepping.
    c.push_back({ControlKind::GroupBox, IDC_STATIC, toCp932("シミュレーション"), 2, 219, 443, 127});
    c.push_back(label("開始日", 7, 230, 25, 8));
    c.push_back(display(IDC_START_DATE, 33, 228, 62, 12));
    c.push_back(label("終了日", 100, 230, 25, 8));
    c.push_back(display(IDC_END_DATE, 126, 228, 62, 12));
    c.push_back(label("状態", 195, 230, 18, 8));
    c.push_back(display(IDC_STATE, 214, 228, 62, 12));
    c.push_back(label("運用資産", 281, 229, 36, 8));
    c.push_back(display(IDC_OPERATING_ASSETS, 318, 227, 80, 12, StyleRightAlign));
    c.push_back(label("総資産", 281, 241, 36, 8));
    c.push_back(display(IDC_TOTAL_ASSETS, 318, 239, 80, 12, StyleRightAlign));
    c.push_back(display(IDC_CURRENT_DATE, 392, 226, 47, 12, StyleRightAlign));

    c.push_back(label("所持銘柄", 7, 253, 40, 8));
    c.push_back(display(IDC_HOLDINGS_FIGURE, 50, 251, 80, 12, StyleRightAlign));
    c.push_back(label("購入候補", 135, 253, 40, 8));
    c.push_back(label("売却リスト", 262, 253, 44, 8));
    c.push_back(display(IDC_SELL_FIGURE, 308, 251, 136, 12, StyleRightAlign));
    c.push_back(list(IDC_HOLDINGS_LIST, 5, 264, 125, 77));
    c.push_back(list(IDC_CANDIDATE_LIST, 133, 264, 125, 77));
    c.push_back(list(IDC_SELL_LIST, 261, 264, 125, 77));

    c.push_back(button(IDC_NEXT, "NEXT", 264, 17));
    c.push_back(button(IDC_AUTO, "AUTO", 284, 17));
    c.push_back(button(IDC_STOP, "STOP", 304, 17));
    c.push_back(button(IDC_RESET, "RESET", 324, 17));

    c.push_back(display(IDC_STATUS, 1, 348, 443, 13));
    return t;
}

DialogTemplate buildAboutDialog()
{
    DialogTemplate t{IDD_ABOUTBOX, toCp932("バージョン情報 Kirvane"), "MS UI Gothic", 9, 235, 55};
    auto& c = t.controls;
    c.push_back({ControlKind::Icon, IDC_STATIC, {}, 11, 17, 20, 20});
    c.push_back(label("Kirvane Version 1.0", 40, 10, 119, 8));
    c.push_back(label("シグナル検証・売買シミュレーション", 40, 25, 130, 8));
    c.push_back({ControlKind::Button, IDOK, "OK", 178, 7, 50, 16, StyleDefault});
    return t;
}

}  // namespace

const DialogTemplate& mainDialogTemplate()
{
    static const DialogTemplate t = buildMainDialog();
    return t;
}

const DialogTemplate& aboutDialogTemplate()
{
    static const DialogTemplate t = buildAboutDialog();
    return t;
}

}  // namespace kv
