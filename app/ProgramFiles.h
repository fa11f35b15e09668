#pragma once
// Where the program finds and keeps its files.
//
// The settings file and the help page are read next to the program file.
// The files the program writes (the recent list, the history, exports) go
// there too when that folder is writable (a portable install); otherwise, and
// always for an installed program, into the per-user data folder.
//
// An installed program lives in <prefix>/bin/ beside <prefix>/share/quillet/,
// which holds its help page. When there is no settings file next to the
// program, the one in the per-user data folder is read.

#include <string>

struct TProgramFiles {
    std::string ProgramDir;    // the program file's folder, with its trailing separator
    std::string SharedDir;     // <prefix>/share/quillet/ of an installed program; empty otherwise
    std::string DataDir;       // the folder written to, with its trailing separator
    std::string IniFileName;   // <program>.INI
    std::string HelpFileName;  // <program>.html

    // The file to read a list from at start: the one in DataDir, or, until
    // that exists, the one shipped next to the program.
    std::string StartFile(const std::string& name) const;

    // Throws std::runtime_error when no writable folder can be had.
    static TProgramFiles For(const std::string& programFile);
};

// The program file's full name as bytes, read from /proc/self/exe (argv0,
// made absolute, where that is not available): the folder's name need not be
// valid in any encoding.
std::string ProgramFileName(const char* argv0);
// The target of a symbolic link as bytes; empty when it cannot be read.
std::string ReadLinkBytes(const std::string& link);

// The folder part of a file name with its trailing separator; empty when the
// name has no folder part.
std::string ExtractFilePath(const std::string& fileName);
// The file name with the extension of its last part replaced by ext
// (".INI"), or with ext appended when it has none.
std::string ChangeFileExt(const std::string& fileName, const std::string& ext);
// Whether a file of that name exists (a name of any bytes).
bool FileExists(const std::string& fileName);
// Whether a file can be created in the folder (tried, not guessed from modes).
bool IsWritableDirectory(const std::string& dir);
