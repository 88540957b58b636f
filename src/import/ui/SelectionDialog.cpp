#include "import/ui/SelectionDialog.h"

#include "import/AddToList.h"
#include "import/ui/PictureLoader.h"

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
    setFixedSize(341, 291);

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

    SelectCandidate(m_chosenCandidate);
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

    m_candidates = thresholdCandidates(frameForConversion(m_request.picture, m_editor->rightColor));
    for (int i = 0; i < kCandidateCount; ++i)
        showCandidate(i, m_candidates[static_cast<std::size_t>(i)]);
    m_candidatesReady = true;
    Label1->setText(QString::fromUtf8("以下の画像から最適なものを選択して下さい."));
    Label1->adjustSize();
}

void TfrmSelection::ImageClick(int number) {
    SelectCandidate(number);
}

void TfrmSelection::Button1Click() {
    if (m_candidatesReady && m_editor != nullptr) {
        if (!m_request.animation.empty()) {
            insertConvertedAnimation(*m_editor, m_request, m_chosenCandidate);
        } else {
            applyConversion(*m_editor, m_candidates[static_cast<std::size_t>(m_chosenCandidate)],
                            m_request.destination);
        }
    }
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
