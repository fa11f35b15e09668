#include "QtDesktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

#include "QtText.h"

namespace {

QString ApplicationTitle()
{
    return QApplication::applicationDisplayName();
}

} // namespace

void TQtDesktop::ShowNotice(const std::string& text)
{
    QMessageBox::information(owner_, ApplicationTitle(), ToQString(text));
}

void TQtDesktop::ShowError(const std::string& text)
{
    CountError();
    QMessageBox::critical(owner_, ApplicationTitle(), ToQString(text));
}

bool TQtDesktop::Confirm(const std::string& text)
{
    return QMessageBox::question(owner_, QStringLiteral("Confirm"), ToQString(text),
                                 QMessageBox::Yes | QMessageBox::No)
           == QMessageBox::Yes;
}

bool TQtDesktop::ConfirmOkCancel(const std::string& text)
{
    return QMessageBox::question(owner_, QStringLiteral("Confirm"), ToQString(text),
                                 QMessageBox::Ok | QMessageBox::Cancel)
           != QMessageBox::Cancel;
}

std::optional<std::string> TQtDesktop::OpenFileName(const std::string& filter,
                                                    const std::string& initialDir)
{
    const QString picked = QFileDialog::getOpenFileName(owner_, QString(), ToQString(initialDir),
                                                        QtFileFilter(filter));
    if (picked.isEmpty())
        return std::nullopt;
    return FromQString(picked);
}

void TQtDesktop::OpenDocument(const std::string& fileName)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(ToQString(fileName)));
}

void TQtDesktop::EditTextFile(const std::string& fileName)
{
    // The user's own editor when one is named, else the desktop's choice.
    for (const char* variable : {"VISUAL", "EDITOR"}) {
        QStringList command = QProcess::splitCommand(qEnvironmentVariable(variable));
        if (command.isEmpty())
            continue;
        const QString program = command.takeFirst();
        command << ToQString(fileName);
        if (QProcess::startDetached(program, command))
            return;
    }
    QProcess::startDetached(QStringLiteral("xdg-open"), {ToQString(fileName)});
}

void TQtDesktop::ProcessMessages()
{
    QCoreApplication::processEvents();
}

void TQtDesktop::EndWork()
{
    workEnded_ = true;
    QCoreApplication::exit(1);  // when the loop runs already
}

QString QtFileFilter(const std::string& filter)
{
    const QStringList parts = ToQString(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries << parts[i] + QStringLiteral(" (") + QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '))
                       + QLatin1Char(')');
    return entries.join(QStringLiteral(";;"));
}
