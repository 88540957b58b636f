#include "publish/ui/TagDialog.h"

#include "document/AnimationDocument.h"
#include "publish/TagText.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>

#include <algorithm>

namespace vemurion {

namespace {

constexpr int kDialogWidth = 493;
constexpr int kDialogHeight = 277;
// Room between the two texts at the top, and between a text and the border.
constexpr int kGap = 8;
constexpr int kMargin = 10;

int rightOf(const QWidget* widget) {
    return widget->x() + widget->width();
}

QLabel* addLabel(QWidget* parent, const char* name, const char* text, int left, int top) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromUtf8(name));
    // The texts hold "<body>", which must not be taken for markup.
    label->setTextFormat(Qt::PlainText);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QPushButton* addButton(QWidget* parent, const char* name, const char* text, int left) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setGeometry(left, 245, 75, 25);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TfrmTag::TfrmTag(QWidget* parent, ClipboardPort* clipboard,
                 std::function<std::string()> documentFileName)
    : QDialog(parent), m_clipboard(clipboard), m_documentFileName(std::move(documentFileName)) {
    setObjectName("frmTag");
    setWindowTitle(QString::fromUtf8("タグをコピー"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    QLabel* Label1 = addLabel(this, "Label1", "以下のタグをクリップボードにコピーします.", 10, 10);
    QLabel* Label2 =
        addLabel(this, "Label2", "このタグを<body>タグのすぐ後に貼り付けて下さい.", 230, 10);
    // Where the desktop's font needs more room than the layout gives, the second text moves
    // clear of the first and the dialog grows to the right, so that no text touches another or
    // the border; the controls below widen or move by as much.
    Label2->move(std::max(230, rightOf(Label1) + kGap), 10);
    const int extra = std::max(0, rightOf(Label2) + kMargin - kDialogWidth);
    setFixedSize(kDialogWidth + extra, kDialogHeight);

    // One text box serves both tabs: the tab bar sits on top of a panel that holds the box at
    // (10, 30) of the 481 x 181 tab control.
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    TabControl1 = new QTabBar(this);
    TabControl1->setObjectName("TabControl1");
    TabControl1->addTab(QString::fromUtf8("標準"));
    TabControl1->addTab(QString::fromUtf8("JAVA Script"));
    TabControl1->setDrawBase(false);
    TabControl1->move(7, 30);
    TabControl1->resize(TabControl1->sizeHint());
    const int panelTop = 30 + TabControl1->height() - 1;
    panel->setGeometry(5, panelTop, 481 + extra, 30 + 181 - panelTop);
    TabControl1->raise();
    memoTagText = new QPlainTextEdit(this);
    memoTagText->setObjectName("memoTagText");
    memoTagText->setGeometry(5 + 10, 30 + 30, 461 + extra, 141);
    memoTagText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // A line of the tag is never broken: the script form's lines are longer than the box is
    // wide, and a wrapped one reads as two.
    memoTagText->setLineWrapMode(QPlainTextEdit::NoWrap);

    const int shift = extra / 2;
    addLabel(this, "Label3", "表示先コントローラ :", 85 + shift, 222);
    const char* const portCaptions[] = {"ポートA", "ポートB", "ポートC", "ポートD"};
    for (int i = 0; i < kPortCount; ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(portCaptions[i]), this);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        box->setGeometry(200 + shift + 70 * i, 220, 66, 17);
        box->setChecked(i == 0);
        connect(box, &QCheckBox::clicked, this, &TfrmTag::TabControl1Change);
        m_ports[static_cast<std::size_t>(i)] = box;
    }
    connect(TabControl1, &QTabBar::currentChanged, this, &TfrmTag::TabControl1Change);

    QPushButton* Button1 = addButton(this, "Button1", "コピー", 180 + shift);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TfrmTag::Button1Click);
    QPushButton* Button2 = addButton(this, "Button2", "キャンセル", 270 + shift);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmTag::showEvent(QShowEvent* event) {
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    TabControl1Change();
    QDialog::showEvent(event);
}

bool TfrmTag::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate) FormDeactivate();
    return QDialog::event(event);
}

void TfrmTag::TabControl1Change() {
    PortChoice ports{};
    for (std::size_t i = 0; i < ports.size(); ++i)
        ports[i] = m_ports[i]->isChecked();
    const std::string fileName = m_documentFileName ? m_documentFileName() : std::string(kUntitled);
    const auto form = TabControl1->currentIndex() == 1 ? TagForm::Script : TagForm::Plain;
    memoTagText->setPlainText(QString::fromStdString(boxText(tagLines(fileName, form, ports))));
}

void TfrmTag::Button1Click() {
    if (m_clipboard != nullptr)
        m_clipboard->setText(clipboardText(memoTagText->toPlainText().toStdString()));
    accept();
    emit copied();
}

void TfrmTag::FormDeactivate() {
    if (isVisible()) reject();
}

} // namespace vemurion
