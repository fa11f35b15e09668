// The quillet program answers --help and --version as a process, without a display.

#include <QProcess>
#include <gtest/gtest.h>
#include <vector>

#include "CommandLine.h"

namespace {

struct Finished {
    int exitCode = -1;
    std::string output;
};

// Runs the program where no window could open: no display, the X11 platform.
Finished RunWithoutDisplay(const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QUILLET_PROGRAM), arguments);
    Finished finished;
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit)
        return finished;
    finished.exitCode = process.exitCode();
    finished.output = process.readAllStandardOutput().toStdString();
    return finished;
}

TEST(CommandLine, HelpAndVersionPrintWithoutAWindow)
{
    const Finished help = RunWithoutDisplay({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.output.rfind("Usage: quillet [-udl FILE | -task FILE]\n", 0), 0u) << help.output;
    EXPECT_NE(help.output.find("  -task FILE"), std::string::npos) << help.output;

    const Finished version = RunWithoutDisplay({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output, "quillet " QUILLET_VERSION "\n");
}

TEST(CommandLine, OnlyTheExactSwitchAloneIsAnswered)
{
    const char* const help[] = {"quillet", "--help"};
    const char* const version[] = {"quillet", "--version"};
    EXPECT_TRUE(InformationRequested(2, help));
    EXPECT_TRUE(InformationRequested(2, version));
    const std::vector<std::vector<const char*>> others = {
        {"quillet"}, {"quillet", "--HELP"}, {"quillet", "-help"}, {"quillet", "--help", "x"},
        {"quillet", "--version", "--help"}, {"quillet", "-udl"}};
    for (const auto& argv : others)
        EXPECT_FALSE(InformationRequested(static_cast<int>(argv.size()), argv.data())) << argv.back();
}

} // namespace
