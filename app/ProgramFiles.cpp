#include "ProgramFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <climits>
#include <cstdlib>
#include <stdexcept>
#include <unistd.h>

#include "QtText.h"

namespace {

std::string PerUserDataDir()
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (dir.isEmpty() || !QDir().mkpath(dir))
        throw std::runtime_error("Cannot create the data folder \"" + FromQString(dir) + "\".");
    return FromQString(QDir(dir).absolutePath()) + "/";
}

// The shared folder of an installed program: share/quillet/ beside its bin/.
std::string InstalledSharedDir(const std::string& programDir)
{
    const QDir programFolder(ToQString(programDir));
    if (programFolder.dirName() != QLatin1String("bin"))
        return {};
    const QString shared = QDir::cleanPath(programFolder.absoluteFilePath(QStringLiteral("../share/quillet")));
    return QFileInfo(shared).isDir() ? FromQString(shared) + "/" : std::string();
}

// The file next to the program when it exists there, else the one of the
// same name in the other folder (when there is one).
std::string NextToProgramOr(const std::string& nextToProgram, const std::string& otherDir)
{
    if (otherDir.empty() || FileExists(nextToProgram))
        return nextToProgram;
    return otherDir + nextToProgram.substr(nextToProgram.rfind('/') + 1);
}

} // namespace

TProgramFiles TProgramFiles::For(const std::string& programFile)
{
    TProgramFiles files;
    files.ProgramDir = ExtractFilePath(programFile);
    files.SharedDir = InstalledSharedDir(files.ProgramDir);
    const bool portable = files.SharedDir.empty() && IsWritableDirectory(files.ProgramDir);
    files.DataDir = portable ? files.ProgramDir : PerUserDataDir();
    files.IniFileName = NextToProgramOr(ChangeFileExt(programFile, ".INI"), files.DataDir);
    files.HelpFileName = NextToProgramOr(ChangeFileExt(programFile, ".html"), files.SharedDir);
    return files;
}

std::string ReadLinkBytes(const std::string& link)
{
    char target[PATH_MAX];
    const ssize_t length = ::readlink(link.c_str(), target, sizeof target);
    if (length <= 0 || static_cast<size_t>(length) == sizeof target)
        return {};
    return std::string(target, static_cast<size_t>(length));
}

std::string ProgramFileName(const char* argv0)
{
    std::string name = ReadLinkBytes("/proc/self/exe");
    if (!name.empty())
        return name;
    name = argv0 ? argv0 : "";
    if (!name.starts_with('/')) {
        char cwd[PATH_MAX];
        if (::getcwd(cwd, sizeof cwd))
            name = std::string(cwd) + "/" + name;
    }
    return name;
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
    std::string probe = (dir.empty() ? std::string("./") : dir) + ".quillet-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

bool FileExists(const std::string& fileName)
{
    return ::access(fileName.c_str(), F_OK) == 0;
}

std::string TProgramFiles::StartFile(const std::string& name) const
{
    const std::string own = DataDir + name;
    const std::string shipped = ProgramDir + name;
    return !FileExists(own) && DataDir != ProgramDir && FileExists(shipped) ? shipped : own;
}
