#pragma once
// A main window started from a fresh program folder of its own, with the
// per-user data folder redirected into another fresh folder.

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "MainForm.h"
#include "ScriptedDesktop.h"
#include "TextLines.h"

class WindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(programDir_.isValid() && dataHome_.isValid());
        qputenv("XDG_DATA_HOME", dataHome_.path().toLocal8Bit());
    }

    std::string ProgramDir() const { return programDir_.path().toStdString() + "/"; }
    std::string DataHome() const { return dataHome_.path().toStdString() + "/"; }
    std::string InProgramDir(const std::string& name) const { return ProgramDir() + name; }

    void Write(const std::string& name, const std::string& bytes) { WriteFileBytes(InProgramDir(name), bytes); }
    std::string Read(const std::string& name) const { return ReadFileBytes(InProgramDir(name)); }

    TfmMain& Start(TStringList arguments = {}, std::string programFile = {})
    {
        if (programFile.empty())
            programFile = InProgramDir("quillet");
        window_ = std::make_unique<TfmMain>(desktop_, programFile, std::move(arguments));
        return *window_;
    }
    void Close() { window_.reset(); }

    TScriptedDesktop desktop_;
    std::unique_ptr<TfmMain> window_;

private:
    QTemporaryDir programDir_;
    QTemporaryDir dataHome_;
};
