// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A read-only multi-line text whose lines scroll sideways instead of wrapping, for texts of
// hundreds of thousands of lines: it keeps the code page 932 bytes and where each line starts,
// and converts and paints only the lines in view. Taking a text costs one pass over its bytes;
// scrolling costs the lines shown. Ctrl+C (or the context menu) copies the whole text.

#include <QAbstractScrollArea>

#include <cstddef>
#include <string_view>
#include <vector>

namespace kv {

class TextLinesView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TextLinesView(QWidget* parent);

    // Lines break at CR LF, at a lone CR and at a lone LF; a text ending in a break has an empty
    // last line, as an edit shows it. The view reads the caller's bytes, which must stay as they
    // are until the next setText (the dialog view keeps the text it shows anyway).
    void setText(std::string_view cp932);
    std::string_view text() const { return bytes; }

    int lineCount() const { return static_cast<int>(starts.size()); }
    QString lineText(int line) const;  // as shown: converted for display, without its break
    int firstVisibleLine() const;
    // The text for the clipboard: every line, LF between them.
    QString plainText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateScrollBars();
    int lineHeight() const;
    int visibleLines() const;
    std::string_view lineBytes(int line) const;

    std::string_view bytes;
    std::vector<size_t> starts;  // first byte of each line
    std::vector<size_t> ends;    // one past its last byte, before the break
    int widestLine = 0;          // in pixels, of the line with the most bytes
};

}  // namespace kv
