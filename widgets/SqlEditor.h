#pragma once
// The SQL editor: a plain-text editor whose content is a list of 8-bit lines.
//
// Lines never hold CR or LF. An empty document counts as no lines at all, so
// "no lines" and "one empty line" are the same state here; both read as the
// empty text. Reserved words are drawn bold and comments italic by the
// editor's own TSqlHighlighter. Undo keeps every step (the document sets no
// limit); replacing or loading the text is one step.
//
// Text pasted, dropped or typed enters by the rule of SetText: it ends at a
// NUL, CR, LF and CR LF break lines, and every other character is ordinary
// text (a Unicode line or paragraph separator included).
//
// KeyDown sees every key press that reaches the editor. Keys the window has
// bound as shortcuts are taken by the window before that.

#include <QPlainTextEdit>
#include <istream>
#include <string>
#include <string_view>

#include "TextLines.h"

class TSqlHighlighter;

class TSqlEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TSqlEditor(QWidget* parent = nullptr);

    int LineCount() const;
    std::string Line(int index) const;            // "" when out of range
    std::string Text() const;                     // lines joined by CR LF
    void SetText(std::string_view text);          // replace, one undo step
    void LoadFromStream(std::istream& stream);    // whole stream from its start

    TSqlHighlighter* Highlighter() const { return highlighter_; }

    static constexpr int kGutterWidth = 30;
    static constexpr int kRightEdgeColumn = 80;
    static constexpr int kTabWidth = 8;

signals:
    // Emitted for every key press while the editor has focus, before the editor acts on it.
    void KeyDown(int key, Qt::KeyboardModifiers modifiers);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void ReplaceLines(const TStringList& lines);
    void InsertText(std::string_view text);
    void ApplyFontMetrics();
    void BreakLineWithIndent();
    void InsertTabAsSpaces();
    void ToggleInsertMode();

    QWidget* gutter_;
    TSqlHighlighter* highlighter_;
};
