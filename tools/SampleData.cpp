// SPDX-License-Identifier: GPL-3.0-or-later
#include "SampleData.h"

#include "text/Cp932.h"
#include "text/ExchangeCalendar.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <set>

namespace kv {

namespace {

// splitmix64: tiny, fast and fully specified, unlike the standard distributions whose output
// may change between library versions.
class Generator {
public:
    explicit Generator(uint64_t seed) : state(seed) {}

    uint64_t next()
    {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // 0..n-1 for n > 0; the modulo bias is far below anything sample data could show.
    int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }

    // lo..hi, both included.
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }

private:
    uint64_t state;
};

// Distinct streams for the stock list and the signals, so that one seed may serve both.
constexpr uint64_t kStockStream = 0x5354'4F43'4B00'0000ull;
constexpr uint64_t kSignalStream = 0x5349'474E'414C'0000ull;

// Callers keep the result in a function-local static, so each list is converted once.
std::vector<std::string> cp932List(std::initializer_list<const char*> utf8)
{
    std::vector<std::string> list;
    for (const char* text : utf8)
        list.push_back(toCp932(text));
    return list;
}

const std::vector<std::string>& namePrefixes()
{
    // 能 and ソ (in the middle pieces) end in the byte 0x5C, which a careless reader of code
    // page 932 mistakes for a backslash; the sample data carries such names on purpose.
    static const auto list = cp932List({
        "北斗", "青葉", "大和",   "東洋", "富士見", "三光", "旭日", "昭栄", "太平", "明星",
        "朝霧", "光陽", "協和",   "山陽", "北陸",   "東邦", "関東", "九州", "常盤", "若葉",
        "白鳥", "高砂", "千代田", "相模", "浪速",   "飛鳥", "瑞穂", "秀和", "栄光", "和光",
        "共栄", "三和", "第一",   "大同", "日東",   "能登", "美濃", "信濃", "出雲", "紀州",
        "房総", "琴平", "暁",     "銀河", "桜花",   "緑川", "白山", "黒潮", "立花", "葵",
    });
    return list;
}

const std::vector<std::string>& nameMiddles()
{
    static const auto list = cp932List({
        "精機",   "電子", "電機", "化学",   "製薬",   "建設", "物産", "商事", "鉄鋼", "食品", "繊維", "運輸",
        "不動産", "興産", "工機", "通信",   "産業",   "開発", "技研", "硝子", "製紙", "薬品", "重工", "海運",
        "倉庫",   "石油", "計器", "ソフト", "テクノ", "光学", "金属", "製菓", "酒造", "ゴム", "印刷", "電設",
    });
    return list;
}

const std::vector<std::string>& nameSuffixes()
{
    // The empty entries make plain two-piece names the most common kind.
    static const auto list = cp932List({
        "",
        "",
        "",
        "",
        "工業",
        "製作所",
        "ホールディングス",
        "販売",
        "システム",
        "サービス",
    });
    return list;
}

struct Weighted {
    int weight;  // per thousand
    int value;
};

int pickWeighted(Generator& rng, const std::vector<Weighted>& table)
{
    int roll = rng.below(1000);
    for (const Weighted& entry : table) {
        if (roll < entry.weight)
            return entry.value;
        roll -= entry.weight;
    }
    return table.back().value;
}

const std::vector<std::string>& markets()
{
    static const auto list = cp932List({
        "東証1部",
        "東証2部",
        "ジャスダック",
        "マザーズ",
        "ヘラクレス",
        "大証1部",
        "名証2部",
    });
    return list;
}

std::string drawName(Generator& rng)
{
    const auto& prefixes = namePrefixes();
    const auto& middles = nameMiddles();
    const auto& suffixes = nameSuffixes();
    std::string name = prefixes[rng.below(static_cast<int>(prefixes.size()))];
    name += middles[rng.below(static_cast<int>(middles.size()))];
    name += suffixes[rng.below(static_cast<int>(suffixes.size()))];
    return name;
}

void appendPadded(std::string& out, int value, int width)
{
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width)
        out.append(width - digits.size(), '0');
    out += digits;
}

// Days counted as in a signal file's dates.
struct Date {
    int year;
    int month;
    int day;

    int yyyymmdd() const { return year * 10000 + month * 100 + day; }
};

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr std::array<int, 12> days{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

Date nextDay(Date date)
{
    if (++date.day <= daysInMonth(date.year, date.month))
        return date;
    date.day = 1;
    if (++date.month <= 12)
        return date;
    date.month = 1;
    ++date.year;
    return date;
}

// Weekdays without the exchange's New Year's break (December 31 to January 3); with
// SignalDays::BusinessDays the national holidays are skipped too.
bool isTradingDay(const Date& date, SignalDays rule)
{
    if (rule == SignalDays::BusinessDays)
        return isBusinessDay(date.yyyymmdd());
    int wd = dayOfWeek(date.yyyymmdd());
    if (wd == 0 || wd == 6)
        return false;
    if (date.month == 1 && date.day <= 3)
        return false;
    return !(date.month == 12 && date.day == 31);
}

// Trading days from firstDate to lastDate, followed by `extra` trading days after lastDate
// for the end dates of the last signals.
std::vector<Date> tradingDays(int firstDate, int lastDate, int extra, SignalDays rule, int& inRange)
{
    std::vector<Date> days;
    Date date{firstDate / 10000, firstDate / 100 % 100, firstDate % 100};
    inRange = 0;
    while (date.yyyymmdd() <= lastDate || static_cast<int>(days.size()) < inRange + extra) {
        if (isTradingDay(date, rule)) {
            days.push_back(date);
            if (date.yyyymmdd() <= lastDate)
                inRange = static_cast<int>(days.size());
        }
        date = nextDay(date);
    }
    return days;
}

void appendDate(std::string& out, const Date& date)
{
    appendPadded(out, date.year, 4);
    out += '/';
    appendPadded(out, date.month, 2);
    out += '/';
    appendPadded(out, date.day, 2);
}

// The exchange's price steps of the time, roughly.
int tickSize(int price)
{
    if (price <= 2000)
        return 1;
    if (price <= 3000)
        return 5;
    if (price <= 30000)
        return 10;
    if (price <= 50000)
        return 50;
    if (price <= 300000)
        return 100;
    if (price <= 500000)
        return 500;
    return 1000;
}

int roundToTick(int price)
{
    int tick = tickSize(price);
    return (price + tick / 2) / tick * tick;
}

struct PriceRange {
    int low;
    int high;
};

// Prices that make one lot cost roughly 100,000 to 900,000 yen, as with real stocks.
PriceRange priceRange(int tradingUnit)
{
    switch (tradingUnit) {
    case 1000:
        return {100, 900};
    case 100:
        return {500, 6000};
    case 10:
        return {10000, 90000};
    default:
        return {100000, 900000};
    }
}

enum class Kind {
    Success,
    Failure,
    Unknown,
    SuccessButLoss,
    FailureButProfit,
    Undeterminable,
    NotExecuted,
};

constexpr std::array<Kind, 7> kAllKinds{Kind::Success,        Kind::Failure,          Kind::Unknown,
                                        Kind::SuccessButLoss, Kind::FailureButProfit, Kind::Undeterminable,
                                        Kind::NotExecuted};

Kind drawKind(Generator& rng)
{
    static const std::vector<Weighted> table{
        {400, static_cast<int>(Kind::Success)},         {330, static_cast<int>(Kind::Failure)},
        {60, static_cast<int>(Kind::Unknown)},          {50, static_cast<int>(Kind::SuccessButLoss)},
        {50, static_cast<int>(Kind::FailureButProfit)}, {50, static_cast<int>(Kind::Undeterminable)},
        {60, static_cast<int>(Kind::NotExecuted)},
    };
    return static_cast<Kind>(pickWeighted(rng, table));
}

struct Outcome {
    int lowPermille;
    int highPermille;
};

// How far the sell price lies from the buy price, per thousand, for each kind of row.
Outcome outcome(Kind kind)
{
    switch (kind) {
    case Kind::Success:
        return {10, 150};
    case Kind::Failure:
        return {-120, -10};
    case Kind::SuccessButLoss:
        return {-30, -3};
    case Kind::FailureButProfit:
        return {3, 30};
    case Kind::Unknown:
        return {-30, 30};
    default:
        return {-50, 50};
    }
}

int sellPrice(Generator& rng, int buy, Kind kind)
{
    Outcome range = outcome(kind);
    int permille = rng.between(range.lowPermille, range.highPermille);
    int sell = roundToTick(static_cast<int>(buy + static_cast<int64_t>(buy) * permille / 1000));
    // Rounding to the price step must not turn a gain into a loss or the other way round.
    if (permille > 0 && sell <= buy)
        sell = buy + tickSize(buy);
    if (permille < 0 && sell >= buy)
        sell = buy - tickSize(buy);
    return sell;
}

// "+5.2%" / "-3.1%": the change from buy to sell in per cent with one decimal, halves rounded
// away from zero; integer arithmetic keeps it the same everywhere.
void appendPerformance(std::string& out, int buy, int sell)
{
    int64_t change = static_cast<int64_t>(sell - buy) * 1000;
    int64_t magnitude = (2 * std::llabs(change) + buy) / (2 * static_cast<int64_t>(buy));
    out += change < 0 ? '-' : '+';
    out += std::to_string(magnitude / 10);
    out += '.';
    out += std::to_string(magnitude % 10);
    out += '%';
}

struct Texts {
    std::string header = toCp932("銘柄,シグナル日付,購入価格,結果,終了日付,売却価格,パフォーマンス");
    std::string success = toCp932("○");
    std::string failure = toCp932("×");
    std::string unknown = toCp932("？");
    std::string successButLoss = toCp932("○(結果は損失)");
    std::string failureButProfit = toCp932("×(結果は利益)");
    std::string notExecuted = toCp932("約定せず");
    std::vector<std::string> undeterminable{toCp932("判定不可（期間中）"), toCp932("判定不可（データ不足）")};
};

const Texts& texts()
{
    static const Texts instance;
    return instance;
}

const std::string& markOf(Kind kind)
{
    const Texts& t = texts();
    switch (kind) {
    case Kind::Success:
        return t.success;
    case Kind::Failure:
        return t.failure;
    case Kind::SuccessButLoss:
        return t.successButLoss;
    case Kind::FailureButProfit:
        return t.failureButProfit;
    default:
        return t.unknown;
    }
}

struct Row {
    int day = 0;
    Kind kind = Kind::Success;
};

// Signals come in bursts: a third of the days is quiet, a few are busy.
std::vector<int64_t> dayWeightSums(Generator& rng, int dayCount)
{
    static const std::vector<Weighted> activity{{350, 0}, {350, 1}, {200, 3}, {100, 8}};
    std::vector<int64_t> sums(dayCount);
    int64_t sum = 0;
    for (int day = 0; day < dayCount; ++day)
        sums[day] = sum += pickWeighted(rng, activity);
    return sums;
}

int drawDay(Generator& rng, const std::vector<int64_t>& weightSums)
{
    if (weightSums.back() == 0)
        return rng.below(static_cast<int>(weightSums.size()));
    int64_t roll = static_cast<int64_t>(rng.next() % static_cast<uint64_t>(weightSums.back()));
    auto day = std::upper_bound(weightSums.begin(), weightSums.end(), roll);
    return static_cast<int>(day - weightSums.begin());
}

// Each row's trading day, drawn at random except that the first and the last day of the
// range hold a row, and its kind, drawn at random except that the first rows after those two
// take every kind once; then sorted by day, keeping the drawing order within a day.
std::vector<Row> drawRows(Generator& rng, int rowCount, int dayCount)
{
    std::vector<int64_t> weightSums = dayWeightSums(rng, dayCount);
    std::vector<Row> rows(rowCount);
    for (int i = 0; i < rowCount; ++i) {
        Row& row = rows[i];
        row.day = i == 0 ? 0 : i == 1 ? dayCount - 1 : drawDay(rng, weightSums);
        int forced = i - 2;
        row.kind =
            forced >= 0 && forced < static_cast<int>(kAllKinds.size()) ? kAllKinds[forced] : drawKind(rng);
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.day < b.day; });
    return rows;
}

}  // namespace

std::vector<SampleStock> makeStocks(int stockCount, uint32_t seed)
{
    Generator rng(kStockStream ^ seed);
    int wanted = std::clamp(stockCount, 0, 9000);
    std::vector<SampleStock> stocks;
    stocks.reserve(wanted);

    // Selection sampling: every code is taken with the chance still needed, which yields
    // exactly `wanted` distinct codes in ascending order.
    int needed = wanted;
    for (int code = 1000; code <= 9999 && needed > 0; ++code) {
        if (rng.below(10000 - code) < needed) {
            stocks.push_back({code, {}, {}, 0});
            --needed;
        }
    }

    static const std::vector<Weighted> units{{500, 1000}, {350, 100}, {70, 10}, {80, 1}};
    static const std::vector<Weighted> marketShares{{450, 0}, {150, 1}, {150, 2}, {80, 3},
                                                    {70, 4},  {50, 5},  {50, 6}};
    std::set<std::string> taken;
    for (SampleStock& stock : stocks) {
        std::string name = drawName(rng);
        for (int attempt = 0; attempt < 100 && taken.count(name) != 0; ++attempt)
            name = drawName(rng);
        // Past the retries only with thousands of stocks: a number makes the name unique.
        for (int suffix = 2; taken.count(name) != 0; ++suffix)
            name = drawName(rng) + std::to_string(suffix);
        taken.insert(name);
        stock.name = name;
        stock.market = markets()[pickWeighted(rng, marketShares)];
        stock.tradingUnit = pickWeighted(rng, units);
    }

    // Make sure every trading unit occurs, spread over the list.
    if (wanted >= 4) {
        static constexpr std::array<int, 4> allUnits{1000, 100, 10, 1};
        for (int k = 0; k < 4; ++k)
            stocks[(2 * k + 1) * wanted / 8].tradingUnit = allUnits[k];
    }
    return stocks;
}

std::string formatStockMaster(const std::vector<SampleStock>& stocks)
{
    static const std::string header = toCp932("コード,銘柄名,市場,売買単位");
    std::string out = header + "\r\n";
    for (const SampleStock& stock : stocks) {
        appendPadded(out, stock.code, 4);
        out += ',';
        out += stock.name;
        out += ',';
        out += stock.market;
        out += ',';
        out += std::to_string(stock.tradingUnit);
        out += "\r\n";
    }
    return out;
}

std::string makeStockMaster(int stockCount, uint32_t seed)
{
    return formatStockMaster(makeStocks(stockCount, seed));
}

std::string makeSignalFile(const std::vector<SampleStock>& stocks, int rowCount, int firstDate, int lastDate,
                           uint32_t seed, SignalEnds ends, SignalDays dayRule)
{
    const bool openAtEnd = ends == SignalEnds::OpenAtEnd;
    const Texts& t = texts();
    std::string out = t.header + "\r\n";
    if (stocks.empty() || rowCount <= 0)
        return out;

    static constexpr int kLongestHold = 10;
    int dayCount = 0;
    std::vector<Date> days = tradingDays(firstDate, lastDate, kLongestHold, dayRule, dayCount);
    if (dayCount == 0)
        return out;

    Generator rng(kSignalStream ^ seed);
    std::vector<Row> rows = drawRows(rng, rowCount, dayCount);

    int stockCount = static_cast<int>(stocks.size());
    std::vector<int> price(stockCount);
    std::vector<int> lastDay(stockCount, -1);
    for (int i = 0; i < stockCount; ++i) {
        PriceRange range = priceRange(stocks[i].tradingUnit);
        price[i] = roundToTick(rng.between(range.low, range.high));
    }

    out.reserve(out.size() + static_cast<size_t>(rowCount) * 72);
    for (const Row& row : rows) {
        // A stock rarely gets two signals on one day.
        int s = rng.below(stockCount);
        for (int attempt = 0; attempt < 8 && lastDay[s] == row.day; ++attempt)
            s = rng.below(stockCount);
        lastDay[s] = row.day;

        // Each stock's price wanders by up to 8 % between its signals.
        PriceRange range = priceRange(stocks[s].tradingUnit);
        int moved = price[s] + static_cast<int>(static_cast<int64_t>(price[s]) * rng.between(-80, 80) / 1000);
        price[s] = roundToTick(std::clamp(moved, range.low, range.high));
        int buy = price[s];

        Kind kind = row.kind;
        bool notExecuted = kind == Kind::NotExecuted;
        bool emptyRest = notExecuted && rng.below(2) == 0;
        if (notExecuted)
            kind = rng.below(2) == 0 ? Kind::Success : Kind::Failure;

        out += stocks[s].name;
        out += ',';
        appendDate(out, days[row.day]);
        out += ',';
        if (notExecuted)
            out += t.notExecuted;
        else
            out += std::to_string(buy);
        if (emptyRest) {
            out += ",,,,\r\n";
            continue;
        }

        int hold = 0;
        if (openAtEnd) {
            // Only a signal still open on the file's last day is undeterminable; every other
            // signal has ended by then.
            hold = rng.between(1, kLongestHold);
            if (row.day + hold > dayCount - 1 && !notExecuted)
                kind = Kind::Undeterminable;
            while (kind == Kind::Undeterminable && row.day + hold <= dayCount - 1)
                kind = drawKind(rng);
            if (kind == Kind::NotExecuted)
                kind = rng.below(2) == 0 ? Kind::Success : Kind::Failure;
        }
        int sell = sellPrice(rng, buy, kind);
        out += ',';
        out += markOf(kind);
        out += ',';
        appendDate(out, days[row.day + (openAtEnd ? hold : rng.between(1, kLongestHold))]);
        out += ',';
        out += std::to_string(sell);
        out += ',';
        if (kind == Kind::Undeterminable && openAtEnd)
            out += t.undeterminable[0];  // 判定不可（期間中）
        else if (kind == Kind::Undeterminable)
            out += t.undeterminable[rng.below(static_cast<int>(t.undeterminable.size()))];
        else
            appendPerformance(out, buy, sell);
        out += "\r\n";
    }
    return out;
}

}  // namespace kv
