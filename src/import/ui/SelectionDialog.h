#pragma once

#include "import/Conversion.h"
#include "spine/Editor.h"

#include <QDialog>

#include <array>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

namespace vemurion {

// The picture conversion dialog. Created once at start and kept hidden until a picture needs
// converting; the chosen candidate carries over from one use to the next.
class TfrmSelection : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSelection(QWidget* parent);

    // Shows the dialog for `request`: modally (returning once it has closed) or not (returning
    // at once). The request carries the picture, already read and reduced.
    void showFor(Editor& e, const ConversionRequest& request);

    int chosenCandidate() const { return m_chosenCandidate; }
    ConversionChoice choice() const { return m_choice; }
    // Moves the cursor around candidate `number` (0 .. 8) and makes it the chosen one.
    void SelectCandidate(int number);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void ImageClick(int number);
    void Button1Click();
    void Button2Click();
    void FormDeactivate();
    void showCandidate(int number, const Raster& picture);
    // Renders the nine candidates of the request's picture, already read and reduced, for the
    // chosen method and aspect.
    void computeCandidates();
    void choiceChanged();

    Editor* m_editor = nullptr;
    ConversionRequest m_request;
    std::array<Raster, kCandidateCount> m_candidates;
    bool m_candidatesReady = false;
    int m_chosenCandidate = kFirstChosenCandidate;
    ConversionChoice m_choice;

    QLabel* Label1 = nullptr;
    std::array<QLabel*, kCandidateCount> m_images{};
    QFrame* spSelCursor = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QComboBox* cbDither = nullptr;
    QComboBox* cbFit = nullptr;
};

// The editor's way to the dialog: every request shows it for that editor.
class SelectionDialogPort : public ConversionPort {
public:
    SelectionDialogPort(TfrmSelection& dialog, Editor& editor)
        : m_dialog(dialog), m_editor(editor) {}
    void showConversion(const ConversionRequest& request) override {
        m_dialog.showFor(m_editor, request);
    }

private:
    TfrmSelection& m_dialog;
    Editor& m_editor;
};

} // namespace vemurion
