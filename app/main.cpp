// Quillet, a desktop SQL console.

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <cstdio>

#include "CommandLine.h"
#include "MainForm.h"
#include "QtDesktop.h"
#include "QtText.h"

int main(int argc, char* argv[])
{
    if (const auto information = InformationRequested(argc, argv)) {
        std::fputs(information->c_str(), stdout);
        return 0;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillet"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quillet"));

    TStringList arguments;
    const QStringList parameters = QApplication::arguments();
    for (qsizetype i = 1; i < parameters.size(); ++i)
        arguments.push_back(FromQString(parameters[i]));

    TQtDesktop desktop;
    TfmMain fmMain(desktop, FromQString(QApplication::applicationFilePath()), arguments);
    desktop.SetOwner(&fmMain);
    // Centred on the desktop when restored from maximized.
    if (const QScreen* screen = fmMain.screen())
        fmMain.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, fmMain.size(),
                                               screen->availableGeometry()));
    fmMain.showMaximized();
    application.exec();
    return 0;
}
