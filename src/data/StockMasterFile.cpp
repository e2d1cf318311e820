#include "data/StockMasterFile.h"

#include "data/SimulatorApp.h"
#include "text/Cp932.h"
#include "text/LineReader.h"
#include "text/Numbers.h"
#include "toolkit/Platform.h"

namespace kv {

void readStockMaster(LineReader& reader, SimulatorApp& app)
{
    app.tradingUnit.fill(0);
    if (reader.next()) {
        while (std::optional<std::string_view> line = reader.next()) {
            Fields<4> f = splitFields<4>(*line);
            auto code = static_cast<size_t>(foldStockCode(f[0]));
            app.stockName[code] = widenBlanks(f[1]);
            app.tradingUnit[code] = foldTradingUnit(f[3]);
        }
    }
    app.buildNameIndex();
}

bool loadStockMaster(SimulatorApp& app, Platform& platform, const std::filesystem::path& folder,
                     std::string& statusLine, std::optional<WaitCursor>& wait)
{
    std::filesystem::path file = folder / kStockMasterFileName;
    std::optional<LineReader> reader = LineReader::open(file);
    if (!reader) {
        static const std::string missing =
            toCp932("index.txt をフォルダ内に確認できませんでした。\nindex.txtを指定してください。");
        static const std::string pleaseChoose = toCp932(
            "index.txtを指定してください。存在しない場合はいったん適当なテキストファイルを読み込み強制終了させてください。");
        platform.messageBox(missing);
        FileDialogOptions options;
        options.defaultExtension = "txt";
        options.filter = toCp932("TXT ファイル (*.txt)|*.txt|すべてのファイル (*.*)|*.*||");
        options.createPrompt = true;
        std::optional<std::filesystem::path> chosen;
        while (!(chosen = platform.openFile(options)))
            platform.messageBox(pleaseChoose);
        file = *chosen;
        reader = LineReader::open(file);
    }
    wait.emplace(platform.waitCursor());
    if (!reader) {
        static const std::string cannotOpen = toCp932("ファイルをオープンできません。再起動してください。");
        statusLine = cannotOpen;
        app.dataFolder = file.parent_path();
        return false;
    }
    app.dataFolder = file.parent_path();
    readStockMaster(*reader, app);
    return true;
}

}  // namespace kv
