#include "import/ui/SelectionDialog.h"

#include "import/AddToList.h"
#include "import/ui/PictureLoader.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>

namespace vemurion {

namespace {

constexpr int kCandidateScale = 2;
constexpr int kCandidateLefts[3] = {12, 122, 232};
constexpr int kCandidateTops[3] = {31, 106, 181};
// The cursor frames a candidate with this much room left and right, and above and below.
constexpr int kCursorMarginX = 8;
constexpr int kCursorMarginY = 6;

} // namespace

TfrmSelection::TfrmSelection(QWidget* parent) : QDialog(parent) {
    setObjectName("frmSelection");
    setWindowTitle(QString::fromUtf8("拡張貼り付け"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    // The nine candidates and the buttons as ever; the two choices in a column to their right.
    setFixedSize(541, 291);

    spSelCursor = new QFrame(this);
    spSelCursor->setObjectName("spSelCursor");
    spSelCursor->setGeometry(0, 0, 112, 76);
    spSelCursor->setAttribute(Qt::WA_TransparentForMouseEvents);
    const QColor caption = palette().color(QPalette::Active, QPalette::Highlight);
    spSelCursor->setStyleSheet(QString("QFrame#spSelCursor { border: 2px solid %1; background: "
                                       "transparent; }")
                                   .arg(caption.name()));

    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label1->move(20, 10);

    for (int i = 0; i < kCandidateCount; ++i) {
        QLabel* image = new QLabel(this);
        image->setObjectName(QString("Image%1").arg(i));
        image->setGeometry(kCandidateLefts[i % 3], kCandidateTops[i / 3],
                           kFrameWidth * kCandidateScale, kFrameHeight * kCandidateScale);
        image->installEventFilter(this);
        m_images[static_cast<std::size_t>(i)] = image;
    }

    Button1 = new QPushButton(QString::fromUtf8("OK"), this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(75, 255, 86, 25);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    Button2 = new QPushButton(QString::fromUtf8("キャンセル"), this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(175, 255, 86, 25);
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });

    const auto choiceBox = [this](const char* name, const char* caption, int top) {
        auto* label = new QLabel(QString::fromUtf8(caption), this);
        label->setObjectName(QString::fromUtf8(name).replace(0, 2, "lb"));
        label->move(345, top);
        auto* box = new QComboBox(this);
        box->setObjectName(name);
        box->setGeometry(345, top + 20, 185, 25);
        return box;
    };
    cbDither = choiceBox("cbDither", "白黒にする方法:", 31);
    for (int i = 0; i < kDitherMethodCount; ++i)
        cbDither->addItem(QString::fromUtf8(ditherCaption(static_cast<DitherMethod>(i))));
    cbFit = choiceBox("cbFit", "大きな画像の縦横比:", 106);
    for (int i = 0; i < kAspectFitCount; ++i)
        cbFit->addItem(QString::fromUtf8(fitCaption(static_cast<AspectFit>(i))));
    for (QComboBox* box : {cbDither, cbFit}) {
        connect(box, &QComboBox::activated, this, [this] { choiceChanged(); });
    }

    SelectCandidate(m_chosenCandidate);
}

void TfrmSelection::choiceChanged() {
    m_choice.method = static_cast<DitherMethod>(cbDither->currentIndex());
    m_choice.fit = static_cast<AspectFit>(cbFit->currentIndex());
    if (m_candidatesReady) computeCandidates();
}

void TfrmSelection::computeCandidates() {
    m_candidates = conversionCandidates(m_request.picture, m_choice, m_editor->rightColor);
    for (int i = 0; i < kCandidateCount; ++i)
        showCandidate(i, m_candidates[static_cast<std::size_t>(i)]);
}

void TfrmSelection::showFor(Editor& e, const ConversionRequest& request) {
    m_editor = &e;
    m_request = request;
    setWindowModality(request.modal ? Qt::ApplicationModal : Qt::NonModal);
    show();
    raise();
    activateWindow();
    FormShow();
    if (request.modal && isVisible()) exec();
}

void TfrmSelection::SelectCandidate(int number) {
    if (number < 0 || number >= kCandidateCount) return;
    const QLabel* image = m_images[static_cast<std::size_t>(number)];
    spSelCursor->move(image->x() - kCursorMarginX, image->y() - kCursorMarginY);
    m_chosenCandidate = number;
}

bool TfrmSelection::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate) FormDeactivate();
    return QDialog::event(event);
}

bool TfrmSelection::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (int i = 0; i < kCandidateCount; ++i) {
            if (watched == m_images[static_cast<std::size_t>(i)]) {
                ImageClick(i);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmSelection::FormShow() {
    m_candidatesReady = false;
    if (const QWidget* main = parentWidget()) {
        const QRect outer = main->frameGeometry();
        const QRect own = frameGeometry();
        move(outer.left() + (outer.width() - own.width()) / 2,
             outer.top() + (outer.height() - own.height()) / 2);
    }
    const Raster blank(kFrameWidth, kFrameHeight, m_editor->rightColor);
    for (int i = 0; i < kCandidateCount; ++i)
        showCandidate(i, blank);
    Label1->setText(QString::fromUtf8("画像処理中..."));
    Label1->adjustSize();
    repaint();
    QCoreApplication::processEvents();
    // The dialog may have lost the focus, and closed, while the text went up.
    if (!isVisible()) return;

    // The aspect concerns only pictures larger than the frame.
    cbFit->setEnabled(m_request.picture.fit == PictureFit::TooLarge);
    computeCandidates();
    m_candidatesReady = true;
    Label1->setText(QString::fromUtf8("以下の画像から最適なものを選択して下さい."));
    Label1->adjustSize();
}

void TfrmSelection::ImageClick(int number) {
    SelectCandidate(number);
}

void TfrmSelection::Button1Click() {
    if (m_candidatesReady && m_editor != nullptr)
        acceptConversion(*m_editor, m_request, m_candidates, m_chosenCandidate, m_choice);
    accept();
}

void TfrmSelection::Button2Click() {
    reject();
}

void TfrmSelection::FormDeactivate() {
    if (isVisible()) reject();
}

void TfrmSelection::showCandidate(int number, const Raster& picture) {
    m_images[static_cast<std::size_t>(number)]->setPixmap(
        QPixmap::fromImage(imageFromRaster(picture, kCandidateScale)));
}

} // namespace vemurion
