#include "SqlEditor.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QTextBlock>
#include <iterator>

#include "QtText.h"
#include "SqlHighlighter.h"

namespace {

// The strip at the editor's left edge: a plain band, no line numbers.
class TEditorGutter : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().button());
    }
};

QFont EditorFont()
{
    const QString family = QStringLiteral("Courier New");
    QFont font = QFontDatabase::hasFamily(family) ? QFont(family) : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(10);
    return font;
}

bool IsLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

// The text as the document takes it: up to its first NUL, each line break
// (CR, LF or CR LF) a block break, everything else plain characters.
QString DocumentText(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    QString result;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !IsLineBreak(text[i]))
            continue;
        result += ToQString(text.substr(start, i - start));
        if (i < text.size()) {
            result += QLatin1Char('\n');
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        }
        start = i + 1;
    }
    return result;
}

} // namespace

TSqlEditor::TSqlEditor(QWidget* parent)
    : QPlainTextEdit(parent), gutter_(new TEditorGutter(this)), highlighter_(new TSqlHighlighter(document()))
{
    highlighter_->setObjectName(QStringLiteral("SynSQLSyn1"));
    setFont(EditorFont());
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    setViewportMargins(kGutterWidth, 0, 0, 0);
    ApplyFontMetrics();
}

int TSqlEditor::LineCount() const
{
    const QTextDocument* doc = document();
    if (doc->blockCount() == 1 && doc->firstBlock().length() <= 1)
        return 0;
    return doc->blockCount();
}

std::string TSqlEditor::Line(int index) const
{
    if (index < 0 || index >= LineCount())
        return {};
    return FromQString(document()->findBlockByNumber(index).text());
}

std::string TSqlEditor::Text() const
{
    std::string text;
    if (LineCount() == 0)
        return text;
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
        if (block != document()->firstBlock())
            text += "\r\n";
        text += FromQString(block.text());
    }
    return text;
}

void TSqlEditor::SetText(std::string_view text)
{
    ReplaceLines(SplitLines(text, TNulHandling::EndsText));
}

void TSqlEditor::LoadFromStream(std::istream& stream)
{
    stream.clear();
    stream.seekg(0, std::ios::beg);
    const std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    TStringList lines = SplitLines(bytes, TNulHandling::Keep);
    if (!bytes.empty() && IsLineBreak(bytes.back()))
        lines.emplace_back();
    ReplaceLines(lines);
}

void TSqlEditor::ReplaceLines(const TStringList& lines)
{
    std::string joined;
    size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 1;
    joined.reserve(size);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            joined += '\n';
        joined += lines[i];
    }

    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(ToQString(joined));
    cursor.endEditBlock();

    cursor.movePosition(QTextCursor::Start);
    setTextCursor(cursor);
}

void TSqlEditor::InsertText(std::string_view text)
{
    QTextCursor cursor = textCursor();
    cursor.insertText(DocumentText(text));
    setTextCursor(cursor);
    ensureCursorVisible();
}

void TSqlEditor::insertFromMimeData(const QMimeData* source)
{
    if (!isReadOnly() && source->hasText())
        InsertText(FromQString(source->text()));
}

bool TSqlEditor::event(QEvent* event)
{
    // Before QWidget's own Tab handling and the editor's key bindings.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        emit KeyDown(key->key(), key->modifiers());
    }
    return QPlainTextEdit::event(event);
}

void TSqlEditor::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers commandKeys = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    const bool command = (event->modifiers() & commandKeys) != 0;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!command && !isReadOnly()) {  // Shift+Enter too: a line never holds a soft break
            BreakLineWithIndent();
            return;
        }
        break;
    case Qt::Key_F9:
        // F9 belongs to the KeyDown listener (it runs the query); it does
        // nothing else here and goes no further up the widget tree.
        event->accept();
        return;
    case Qt::Key_Insert:
        if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
            ToggleInsertMode();
            return;
        }
        break;
    default:
        // Ctrl+Tab and the like stay with the window (page switching).
        if (event->text() == QLatin1String("\t") && !command && !isReadOnly()) {
            InsertTabAsSpaces();
            return;
        }
        // A typed character the document would take for structure.
        if (!event->text().isEmpty() && !command && !isReadOnly()) {
            const std::string bytes = FromQString(event->text());
            if (DocumentText(bytes) != event->text()) {
                InsertText(bytes);
                return;
            }
        }
        break;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TSqlEditor::BreakLineWithIndent()
{
    QTextCursor cursor = textCursor();
    const QString line = cursor.block().text();
    const int column = cursor.positionInBlock();
    int indent = 0;
    while (indent < column && indent < line.size() && (line[indent] == u' ' || line[indent] == u'\t'))
        ++indent;
    cursor.beginEditBlock();
    cursor.insertBlock();
    cursor.insertText(line.left(indent));
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

void TSqlEditor::InsertTabAsSpaces()
{
    QTextCursor cursor = textCursor();
    const QString before = cursor.block().text().left(cursor.positionInBlock());
    int column = 0;
    for (const QChar c : before)
        column = c == u'\t' ? (column / kTabWidth + 1) * kTabWidth : column + 1;
    cursor.insertText(QString(kTabWidth - column % kTabWidth, u' '));
    setTextCursor(cursor);
    ensureCursorVisible();
}

void TSqlEditor::ToggleInsertMode()
{
    setOverwriteMode(!overwriteMode());
    ApplyFontMetrics();
}

void TSqlEditor::ApplyFontMetrics()
{
    const QFontMetricsF metrics(font());
    const qreal charWidth = metrics.horizontalAdvance(QLatin1Char(' '));
    setTabStopDistance(charWidth * kTabWidth);
    // Insert mode shows a thin vertical caret, overwrite mode a block.
    setCursorWidth(overwriteMode() ? qMax(1, qRound(charWidth)) : 1);
}

void TSqlEditor::paintEvent(QPaintEvent* event)
{
    QPlainTextEdit::paintEvent(event);
    const qreal charWidth = QFontMetricsF(font()).horizontalAdvance(QLatin1Char(' '));
    const qreal x = contentOffset().x() + document()->documentMargin() + kRightEdgeColumn * charWidth;
    QPainter painter(viewport());
    painter.setPen(QColor(192, 192, 192));
    painter.drawLine(QPointF(x, 0), QPointF(x, viewport()->height()));
}

void TSqlEditor::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    const QRect text = viewport()->geometry();
    gutter_->setGeometry(text.left() - kGutterWidth, text.top(), kGutterWidth, text.height());
}

void TSqlEditor::changeEvent(QEvent* event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        ApplyFontMetrics();
}
