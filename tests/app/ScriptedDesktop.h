#pragma once
// A desktop for tests: answers questions and file dialogs from a script and
// records everything the program showed or asked for.

#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Desktop.h"

class TScriptedDesktop : public TDesktop {
public:
    struct TFileRequest {
        std::string filter;
        std::string initialDir;
    };

    // Answers, used first in first out.
    std::deque<bool> confirmAnswers;
    std::deque<std::optional<std::string>> fileAnswers;

    // What the program did.
    std::vector<std::string> notices;
    std::vector<std::string> errors;
    std::vector<std::string> questions;
    std::vector<TFileRequest> fileRequests;
    std::vector<std::string> openedDocuments;
    std::vector<std::string> editedFiles;
    int processMessagesCalls = 0;
    // What the user does while the program lets messages through.
    std::function<void()> onProcessMessages;

    void ShowNotice(const std::string& text) override { notices.push_back(text); }
    void ShowError(const std::string& text) override { errors.push_back(text); }

    bool Confirm(const std::string& text) override
    {
        questions.push_back(text);
        if (confirmAnswers.empty())
            throw std::logic_error("unexpected question: " + text);
        const bool answer = confirmAnswers.front();
        confirmAnswers.pop_front();
        return answer;
    }

    std::optional<std::string> OpenFileName(const std::string& filter, const std::string& initialDir) override
    {
        fileRequests.push_back({filter, initialDir});
        if (fileAnswers.empty())
            throw std::logic_error("unexpected file dialog");
        auto answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }

    void OpenDocument(const std::string& fileName) override { openedDocuments.push_back(fileName); }
    void EditTextFile(const std::string& fileName) override { editedFiles.push_back(fileName); }
    void ProcessMessages() override
    {
        ++processMessagesCalls;
        if (onProcessMessages)
            onProcessMessages();
    }
};
