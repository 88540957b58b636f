#include "app/ui/AboutBox.h"

#include "app/HelpPages.h"
#include "app/ui/Icons.h"
#include "spine/Editor.h"

#include <QCursor>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace vemurion {

namespace {

constexpr int kBoxWidth = 304;
constexpr int kBoxHeight = 178;
constexpr int kLinkLeft = 145;

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, int left, int top) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setTextFormat(Qt::PlainText);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLabel* addLink(QWidget* parent, const char* name, const QString& text, int top) {
    QLabel* link = addLabel(parent, name, text, kLinkLeft, top);
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    link->setPalette(palette);
    return link;
}

int rightOf(const QWidget* widget) {
    return widget->x() + widget->width();
}

} // namespace

TfrmAbout::TfrmAbout(QWidget* parent, ShellPort* shell) : QDialog(parent), m_shell(shell) {
    setObjectName("frmAbout");
    setWindowTitle(QString::fromUtf8("Vemurion のバージョン情報"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    auto* picture = new QLabel(this);
    picture->setObjectName("Image1");
    picture->setPixmap(productPicture());
    picture->setGeometry(10, 10, 150, 64);
    lbVersion = addLabel(this, "lbVersion", QString(), 165, 45);
    auto* Bevel1 = new QFrame(this);
    Bevel1->setObjectName("Bevel1");
    Bevel1->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    Bevel1->setAttribute(Qt::WA_TransparentForMouseEvents);

    addLabel(this, "Label6", QString::fromUtf8("サポートホームページ :"), 10, 90);
    lbURL = addLink(this, "lbURL", QString::fromUtf8(kSupportAddress), 90);
    addLabel(this, "Label7", QStringLiteral("E-Mail :"), 90, 105);
    lbEMAIL = addLink(this, "lbEMAIL", QString::fromUtf8(kAuthorEmail), 105);
    addLabel(this, "Label5", QString::fromUtf8("Dreamcast は"), 15, 125);
    lbSEGA = addLink(this, "lbSEGA", QString::fromUtf8("㈱セガ・エンタープライゼス"), 125);
    lbSEGA->setToolTip(QString::fromUtf8(kMakerAddress));
    addLabel(this, "Label9", QString::fromUtf8("の商標です."), 230, 125);
    m_links = {lbURL, lbEMAIL, lbSEGA};

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName("OK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TfrmAbout::OKClick);
    layOutLinks();

    setMouseTracking(true);
    for (QWidget* child : findChildren<QWidget*>()) {
        child->setMouseTracking(true);
        child->installEventFilter(this);
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TfrmAbout::Timer1Timer);
}

void TfrmAbout::layOutLinks() {
    // The box keeps its size and places where the texts fit, and grows to the right where the
    // addresses or the wider glyphs of the desktop's font need more room.
    auto* Label6 = findChild<QLabel*>("Label6");
    auto* Label7 = findChild<QLabel*>("Label7");
    auto* Label5 = findChild<QLabel*>("Label5");
    auto* Label9 = findChild<QLabel*>("Label9");
    const int captionRight = std::max(kLinkLeft - 4, 10 + Label6->width());
    Label6->move(captionRight - Label6->width(), Label6->y());
    Label7->move(captionRight - Label7->width(), Label7->y());
    lbURL->move(captionRight + 4, lbURL->y());
    lbEMAIL->move(captionRight + 4, lbEMAIL->y());
    lbSEGA->move(std::max(90, rightOf(Label5)), lbSEGA->y());
    Label9->move(std::max(230, rightOf(lbSEGA)), Label9->y());

    const int width =
        std::max({kBoxWidth, rightOf(lbURL) + 10, rightOf(lbEMAIL) + 10, rightOf(Label9) + 10});
    setFixedSize(width, kBoxHeight);
    findChild<QFrame*>("Bevel1")->setGeometry(10, 80, width - 18, 6);
    findChild<QPushButton*>("OK")->setGeometry(width - (kBoxWidth - 180), 145, 75, 25);
}

void TfrmAbout::showEvent(QShowEvent* event) {
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    FormShow();
    QDialog::showEvent(event);
}

bool TfrmAbout::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate) FormDeactivate();
    if (event->type() == QEvent::MouseMove) plainMouseMove();
    return QDialog::event(event);
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event) {
    auto* link = qobject_cast<QLabel*>(watched);
    if (std::find(m_links.begin(), m_links.end(), link) == m_links.end()) link = nullptr;
    if (event->type() == QEvent::MouseMove) {
        if (link == nullptr) {
            plainMouseMove();
        } else {
            linkMouseMove(link);
            // A label passes the move on to the box, which would take the underline away.
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonRelease && link != nullptr) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && link->rect().contains(mouse->position().toPoint()))
            linkClick(link);
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmAbout::FormShow() {
    Timer1->start();
    lbVersion->setText(QString::fromUtf8(kVersionText));
    lbVersion->adjustSize();
}

void TfrmAbout::FormDeactivate() {
    if (isVisible()) reject();
}

void TfrmAbout::OKClick() {
    accept();
}

void TfrmAbout::Timer1Timer() {
    // The window rectangle with both its right and its bottom edge counted as inside.
    const QPoint pointer = QCursor::pos();
    const QRect box = frameGeometry();
    const bool inside = pointer.x() >= box.left() && pointer.x() <= box.left() + box.width() &&
                        pointer.y() >= box.top() && pointer.y() <= box.top() + box.height();
    if (!inside) underlineOnly(nullptr);
}

void TfrmAbout::linkMouseMove(QLabel* link) {
    setCursor(Qt::PointingHandCursor);
    underlineOnly(link);
}

void TfrmAbout::plainMouseMove() {
    unsetCursor();
    underlineOnly(nullptr);
}

void TfrmAbout::linkClick(QLabel* link) {
    if (m_shell == nullptr) return;
    if (link == lbURL) {
        m_shell->openTarget(kSupportAddress);
    } else if (link == lbEMAIL) {
        m_shell->openTarget(std::string("mailto:") + kAuthorEmail);
    } else if (link == lbSEGA) {
        m_shell->openTarget(kMakerAddress);
    }
}

void TfrmAbout::underlineOnly(QLabel* link) {
    for (QLabel* each : m_links) {
        QFont font = each->font();
        if (font.underline() == (each == link)) continue;
        font.setUnderline(each == link);
        each->setFont(font);
    }
}

} // namespace vemurion
