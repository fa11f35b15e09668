#include "ProgramFiles.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <stdexcept>

#include "QtText.h"

namespace {

std::string PerUserDataDir()
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (dir.isEmpty() || !QDir().mkpath(dir))
        throw std::runtime_error("Cannot create the data folder \"" + FromQString(dir) + "\".");
    return FromQString(QDir(dir).absolutePath()) + "/";
}

} // namespace

TProgramFiles TProgramFiles::For(const std::string& programFile)
{
    TProgramFiles files;
    files.ProgramDir = ExtractFilePath(programFile);
    files.DataDir = IsWritableDirectory(files.ProgramDir) ? files.ProgramDir : PerUserDataDir();
    files.IniFileName = ChangeFileExt(programFile, ".INI");
    files.HelpFileName = ChangeFileExt(programFile, ".html");
    return files;
}

std::string ExtractFilePath(const std::string& fileName)
{
    const auto slash = fileName.rfind('/');
    return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

std::string ChangeFileExt(const std::string& fileName, const std::string& ext)
{
    const auto slash = fileName.rfind('/');
    const auto dot = fileName.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return fileName + ext;
    return fileName.substr(0, dot) + ext;
}

bool IsWritableDirectory(const std::string& dir)
{
    QTemporaryFile probe(ToQString(dir.empty() ? std::string("./") : dir) + QStringLiteral(".quillet-XXXXXX"));
    return probe.open();
}
