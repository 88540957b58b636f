#pragma once

#include "spine/Services.h"

#include <QDialog>

#include <array>
#include <functional>
#include <string>

class QCheckBox;
class QPlainTextEdit;
class QTabBar;

namespace vemurion {

// The dialog that copies the HTML tag for a web page. Made once and kept, so that the chosen tab
// and ports carry over from one opening to the next.
class TfrmTag : public QDialog {
    Q_OBJECT
public:
    // `clipboard` receives the copied text. `documentFileName` is asked for the document's file
    // name (a full path, or "無題") each time the text is built.
    explicit TfrmTag(QWidget* parent, ClipboardPort* clipboard = nullptr,
                     std::function<std::string()> documentFileName = {});

signals:
    // The text went to the clipboard and the dialog closed: the paste commands may have changed.
    void copied();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void TabControl1Change();
    void Button1Click();
    void FormDeactivate();

    ClipboardPort* m_clipboard;
    std::function<std::string()> m_documentFileName;
    QTabBar* TabControl1 = nullptr;
    QPlainTextEdit* memoTagText = nullptr;
    std::array<QCheckBox*, 4> m_ports{};
};

} // namespace vemurion
