// The main window's controls, laid out at fixed positions in its client area.
#include "app/ui/CommandTable.h"
#include "app/ui/Icons.h"
#include "app/ui/MainWindow.h"

#include "editor/CanvasInput.h"
#include "editor/PictureOps.h"
#include "editor/ui/EditCanvas.h"
#include "framelist/FrameList.h"
#include "framelist/ui/FrameSlot.h"
#include "framelist/ui/UpDown.h"

#include <QAction>
#include <QActionGroup>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace vemurion {

namespace {

constexpr int kClientWidth = 640;
constexpr int kClientHeight = 418;

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, QRect geometry,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(alignment);
    label->setGeometry(geometry);
    return label;
}

QString numbered(const char* prefix, int n) {
    return QString::fromUtf8(prefix) + QString::number(n);
}

} // namespace

void TfrmMain::buildLayout() {
    m_client = new QWidget(this);
    m_client->setObjectName("frmMainClient");
    m_client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(m_client);
    const QColor caption = palette().color(QPalette::Highlight);

    ToolBar1 = new QToolBar(m_client);
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setGeometry(0, 0, kClientWidth, 29);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setMovable(false);
    ToolBar1->installEventFilter(this);

    stModeTitleBar =
        makeLabel(m_client, "stModeTitleBar", QString::fromUtf8(m_editor.modeCaption.c_str()),
                  QRect(5, 30, 481, 16));
    stModeTitleBar->setAutoFillBackground(true);
    QPalette titlePalette = stModeTitleBar->palette();
    titlePalette.setColor(QPalette::Window, caption);
    titlePalette.setColor(QPalette::WindowText, palette().color(QPalette::HighlightedText));
    stModeTitleBar->setPalette(titlePalette);
    stModeTitleBar->setContentsMargins(4, 0, 0, 0);

    auto* bevel = new QFrame(m_client);
    bevel->setObjectName("Bevel1");
    bevel->setFrameShape(QFrame::StyledPanel);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(5, 47, 481, 334);

    imgMain = new EditCanvas(m_editor, m_client);
    imgMain->setObjectName("imgMain");
    imgMain->move(28, 68);
    connect(imgMain, &EditCanvas::mousePressed, this, &TfrmMain::imgMainMouseDown);
    connect(imgMain, &EditCanvas::mouseMoved, this, &TfrmMain::imgMainMouseMove);
    connect(imgMain, &EditCanvas::mouseReleased, this, &TfrmMain::imgMainMouseUp);

    const QRect speedGeometry[4] = {QRect(28, 51, 433, 15), QRect(28, 359, 433, 15),
                                    QRect(10, 68, 15, 289), QRect(464, 68, 15, 289)};
    for (int i = 0; i < 4; ++i) {
        auto* button = new QToolButton(m_client);
        const QString name = numbered("SpeedButton", i + 1);
        button->setObjectName(name);
        button->setIcon(commandIcon(name));
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setGeometry(speedGeometry[i]);
        watchHints(button);
        speedButtons[static_cast<std::size_t>(i)] = button;
    }

    const ScrollDirection scrollDirections[4] = {ScrollDirection::Up, ScrollDirection::Down,
                                                 ScrollDirection::Left, ScrollDirection::Right};
    for (std::size_t i = 0; i < 4; ++i) {
        connect(speedButtons[i], &QToolButton::clicked, this, [this, d = scrollDirections[i]] {
            endCanvasGesture(m_editor);
            ScrollPicture(m_editor, d);
        });
    }

    ToolBar2 = new QToolBar(m_client);
    ToolBar2->setObjectName("ToolBar2");
    ToolBar2->setGeometry(5, 386, 481, 25);
    ToolBar2->setIconSize(QSize(16, 16));
    ToolBar2->setMovable(false);

    makeLabel(m_client, "StaticText1", QString::fromUtf8("プレビュー"), QRect(505, 32, 120, 16))
        ->setStyleSheet(QStringLiteral("color: %1").arg(caption.name()));
    imgSub = new PictureBox(m_client);
    imgSub->setObjectName("imgSub");
    imgSub->setGeometry(512, 51, 96, 64);
    connect(imgSub, &PictureBox::pressed, this, [this] { FormMouseDown(); });

    makeLabel(m_client, "StaticText2", QString::fromUtf8("イメージリスト"),
              QRect(505, 125, 120, 16))
        ->setStyleSheet(QStringLiteral("color: %1").arg(caption.name()));

    spListCursor = new QFrame(m_client);
    spListCursor->setObjectName("spListCursor");
    spListCursor->setStyleSheet(
        QStringLiteral("QFrame#spListCursor { border: 2px solid %1; }").arg(caption.name()));
    spListCursor->setGeometry(520, 145, 114, 46);
    spListCursor->setAttribute(Qt::WA_TransparentForMouseEvents);

    for (int k = 0; k < kSlotCount; ++k) {
        const auto i = static_cast<std::size_t>(k);
        imgList[i] = new PictureBox(m_client);
        imgList[i]->setObjectName(numbered("imgList", k));
        imgList[i]->setGeometry(525, 150 + 45 * k, 48, 32);
        connect(imgList[i], &PictureBox::pressed, this,
                [this, k](Qt::MouseButton button) { imgListMouseDown(k, button); });
        lbList[i] = makeLabel(m_client, "", "", QRect(577, 150 + 45 * k, 54, 14));
        lbList[i]->setObjectName(numbered("lbList", k));
        // Wide enough that three digits keep clear of the slot's picture and of the arrows.
        stTimes[i] = makeLabel(m_client, "", "", QRect(577, 170 + 45 * k, 30, 16),
                               Qt::AlignRight | Qt::AlignVCenter);
        stTimes[i]->setObjectName(numbered("stTimes", k));
        udTimes[i] = new UpDown(m_client);
        udTimes[i]->setObjectName(numbered("udTimes", k));
        udTimes[i]->move(610, 167 + 45 * k);
        udTimes[i]->setRange(1, 255);
        connect(udTimes[i], &UpDown::stepped, this,
                [this, k](int position, bool up) { udTimesClick(k, position, up); });
        connect(udTimes[i], &UpDown::released, this, [this] { releaseHold(m_editor.hold); });
    }
    spListCursor->raise();

    scList = new QScrollBar(Qt::Vertical, m_client);
    scList->setObjectName("scList");
    scList->setGeometry(503, 145, 13, 226);
    scList->setPageStep(5);
    scList->setRange(0, 2);
    scList->setEnabled(false);
    connect(scList, &QScrollBar::valueChanged, this, &TfrmMain::scListChange);

    makeLabel(m_client, "Label1", QString::fromUtf8("ループ回数 :"), QRect(505, 390, 64, 16));
    stLoops = makeLabel(m_client, "stLoops", "", QRect(570, 390, 37, 16),
                        Qt::AlignRight | Qt::AlignVCenter);
    udLoops = new UpDown(m_client);
    udLoops->setObjectName("udLoops");
    udLoops->move(610, 387);
    udLoops->setRange(1, 255);
    connect(udLoops, &UpDown::stepped, this, &TfrmMain::udLoopsClick);
    connect(udLoops, &UpDown::released, this, [this] { releaseHold(m_editor.hold); });

    auto* status = new QStatusBar(this);
    status->setObjectName("StatusBar1");
    status->setSizeGripEnabled(false);
    for (std::size_t i = 0; i < 2; ++i) {
        statusPanels[i] = new QLabel(status);
        statusPanels[i]->setObjectName(numbered("StatusPanel", static_cast<int>(i)));
        statusPanels[i]->setFrameShape(QFrame::Panel);
        statusPanels[i]->setFrameShadow(QFrame::Sunken);
    }
    statusPanels[0]->setFixedWidth(70);
    statusPanels[0]->setAlignment(Qt::AlignCenter);
    status->addWidget(statusPanels[0]);
    status->addWidget(statusPanels[1], 1);
    setStatusBar(status);

    // The window's background: its own moves only, not those of the controls on it.
    m_client->setMouseTracking(true);
    m_client->installEventFilter(this);
    for (int k = 0; k < kSlotCount; ++k) {
        const auto i = static_cast<std::size_t>(k);
        for (QWidget* control :
             {static_cast<QWidget*>(imgList[i]), static_cast<QWidget*>(lbList[i]),
              static_cast<QWidget*>(stTimes[i]), static_cast<QWidget*>(udTimes[i])}) {
            watchHints(control);
        }
    }
    for (QWidget* control : {static_cast<QWidget*>(udLoops), static_cast<QWidget*>(stLoops),
                             m_client->findChild<QWidget*>("Label1")}) {
        watchHints(control);
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(kTimerIdleMs);
    connect(Timer1, &QTimer::timeout, this, &TfrmMain::Timer1Timer);

    tmAnimation = new QTimer(this);
    tmAnimation->setObjectName("tmAnimation");
    tmAnimation->setSingleShot(true);
    tmAnimation->setTimerType(Qt::PreciseTimer);
    connect(tmAnimation, &QTimer::timeout, this, &TfrmMain::tmAnimationTimer);
}

void TfrmMain::buildCommands() {
    QMenu* menu = nullptr;
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    connect(PopupMenu1, &QMenu::aboutToShow, this, &TfrmMain::PopupMenu1Popup);
    QActionGroup* groups[2] = {new QActionGroup(this), new QActionGroup(this)};

    for (const CommandSpec& spec : commandTable()) {
        const QString name = QString::fromUtf8(spec.name);
        const QString caption = QString::fromUtf8(spec.caption);
        QAction* action = nullptr;
        switch (spec.place) {
        case CommandPlace::Menu:
            menu = menuBar()->addMenu(caption);
            menu->setObjectName(name);
            action = menu->menuAction();
            if (name == "L1") connect(menu, &QMenu::aboutToShow, this, &TfrmMain::L1Click);
            break;
        case CommandPlace::MenuSeparator:
            menu->addSeparator();
            break;
        case CommandPlace::PopupSeparator:
            PopupMenu1->addSeparator();
            break;
        case CommandPlace::ToolSeparator:
            ToolBar1->addSeparator();
            break;
        case CommandPlace::DrawSeparator:
            ToolBar2->addSeparator();
            break;
        case CommandPlace::MenuItem:
        case CommandPlace::PopupItem:
            action = new QAction(caption, this);
            action->setShortcut(QKeySequence(QString::fromUtf8(spec.shortcut)));
            if (spec.group != CheckGroup::None) {
                action->setCheckable(true);
                action->setChecked(spec.checked);
            }
            (spec.place == CommandPlace::MenuItem ? menu : PopupMenu1)->addAction(action);
            break;
        case CommandPlace::ToolButton:
        case CommandPlace::DrawButton: {
            QToolBar* bar = spec.place == CommandPlace::ToolButton ? ToolBar1 : ToolBar2;
            action = new QAction(commandIcon(name), caption, this);
            if (spec.place == CommandPlace::ToolButton) action->setToolTip(caption);
            if (spec.group != CheckGroup::None) {
                action->setCheckable(true);
                action->setChecked(spec.checked);
            }
            if (spec.group == CheckGroup::ColorMode) action->setActionGroup(groups[0]);
            if (spec.group == CheckGroup::Tool) action->setActionGroup(groups[1]);
            bar->addAction(action);
            QWidget* button = bar->widgetForAction(action);
            button->setObjectName(name);
            button->setFocusPolicy(Qt::NoFocus);
            if (spec.place == CommandPlace::DrawButton) watchHints(button);
            break;
        }
        }
        if (action == nullptr) continue;
        action->setObjectName(name);
        action->setEnabled(spec.enabled);
        if (spec.handler != nullptr) {
            // A command pressed while a button is held on the canvas ends that gesture first.
            connect(action, &QAction::triggered, this, [this, handler = spec.handler] {
                endCanvasGesture(m_editor);
                (this->*handler)();
            });
        }
        m_commands.insert(name, action);
    }
}

} // namespace vemurion
