#include "HeadlessDesktop.h"

#include <QGuiApplication>
#include <cstdio>

namespace {

// One message as lines on a stream: CR LF and CR become LF, with a line end
// after the last line.
void WriteLines(std::FILE* stream, const std::string& text)
{
    std::string out;
    out.reserve(text.size() + 1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    if (out.empty() || out.back() != '\n')
        out += '\n';
    std::fwrite(out.data(), 1, out.size(), stream);
    std::fflush(stream);
}

} // namespace

void THeadlessDesktop::ShowNotice(const std::string& text)
{
    WriteLines(stdout, text);
}

void THeadlessDesktop::ShowError(const std::string& text)
{
    CountError();
    WriteLines(stderr, text);
    EndWork();
}

bool THeadlessDesktop::Confirm(const std::string& text)
{
    WriteLines(stdout, text + " - No");
    return false;
}

bool THeadlessDesktop::ConfirmOkCancel(const std::string& text)
{
    WriteLines(stdout, text + " - Cancel");
    return false;
}

std::optional<std::string> THeadlessDesktop::OpenFileName(const std::string&, const std::string&)
{
    return std::nullopt;
}

void THeadlessDesktop::OpenDocument(const std::string&) {}

void THeadlessDesktop::EditTextFile(const std::string&) {}

void THeadlessDesktop::InfoLogged(const std::string& line)
{
    WriteLines(stdout, line);
}

bool IsHeadlessPlatform()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

void ChooseOffscreenWithoutDisplay()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}
