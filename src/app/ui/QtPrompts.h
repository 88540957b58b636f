#pragma once

#include "spine/Services.h"

#include <QString>

class QWidget;

namespace vemurion {

// The desktop's message boxes and file dialogs.
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* owner) : m_owner(owner) {}

    void warn(const std::string& text) override;
    Answer askYesNoCancel(const std::string& text) override;
    bool askOkCancel(const std::string& text, const std::string& caption) override;
    std::optional<FileDialogAnswer> askOpenFile(const FileDialogRequest& request) override;
    std::optional<FileDialogAnswer> askSaveFile(const FileDialogRequest& request) override;
    std::optional<std::vector<int>> askNumbers(const NumbersRequest& request) override;

private:
    QWidget* m_owner;
};

// "desc (*.a;*.b)|*.a;*.b|..." as the list of Qt name filters "desc (*.a *.b)".
QStringList qtNameFilters(const std::string& filter);

} // namespace vemurion
