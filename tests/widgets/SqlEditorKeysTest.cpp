#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "EditorWindow.h"
#include "SqlEditor.h"

namespace {

struct TKeyCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

void PrintTo(const TKeyCase& c, std::ostream* os)
{
    *os << c.name;
}

class KeyDownTest : public testing::TestWithParam<TKeyCase> {};

TEST_P(KeyDownTest, IsRaisedOnceBeforeTheEditorActs)
{
    TEditorWindow w;
    w.editor->SetText("ab");
    std::vector<Qt::KeyboardModifiers> raised;  // the modifier keys themselves are reported too
    std::string textWhenRaised = "(not raised)";
    QObject::connect(w.editor, &TSqlEditor::KeyDown, [&](int key, Qt::KeyboardModifiers modifiers) {
        if (key != GetParam().key)
            return;
        raised.push_back(modifiers);
        textWhenRaised = w.editor->Text();
    });

    QTest::keyClick(w.editor, GetParam().key, GetParam().modifiers);

    EXPECT_EQ(raised, std::vector<Qt::KeyboardModifiers>{GetParam().modifiers});
    EXPECT_EQ(textWhenRaised, "ab");
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyDownTest,
    testing::Values(TKeyCase{"F9", Qt::Key_F9, Qt::NoModifier}, TKeyCase{"ShiftF9", Qt::Key_F9, Qt::ShiftModifier},
                    TKeyCase{"CtrlF9", Qt::Key_F9, Qt::ControlModifier},
                    TKeyCase{"AltF9", Qt::Key_F9, Qt::AltModifier}, TKeyCase{"Letter", Qt::Key_X, Qt::NoModifier},
                    TKeyCase{"Enter", Qt::Key_Return, Qt::NoModifier},
                    TKeyCase{"Tab", Qt::Key_Tab, Qt::NoModifier},
                    TKeyCase{"AltLetter", Qt::Key_S, Qt::AltModifier}),
    [](const auto& info) { return std::string(info.param.name); });

// Counts the F9 presses that reach a widget.
class TF9Counter : public QObject {
public:
    int presses = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        presses += event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F9;
        return false;
    }
};

TEST(SqlEditorKeysTest, F9HasNoOtherEffect)
{
    TEditorWindow w;
    TF9Counter window;
    w.window.installEventFilter(&window);
    w.editor->SetText("SELECT 1");
    for (auto modifiers : {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier})
        QTest::keyClick(w.editor, Qt::Key_F9, modifiers);
    EXPECT_EQ(w.editor->Text(), "SELECT 1");
    EXPECT_EQ(window.presses, 0) << "F9 went on to the window";
}

} // namespace
