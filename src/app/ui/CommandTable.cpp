#include "app/ui/CommandTable.h"

#include "app/ui/MainWindow.h"

namespace vemurion {

namespace {

using P = CommandPlace;
using G = CheckGroup;
using M = TfrmMain;

constexpr CommandSpec kCommands[] = {
    // clang-format off
    {P::Menu,          "File1",      "ファイル(&F)",            "",           true,  G::None, false, nullptr},
    {P::MenuItem,      "New1",       "新規作成(&N)...",         "Ctrl+N",     true,  G::None, false, &M::New1Click},
    {P::MenuItem,      "Open1",      "開く(&O)...",             "Ctrl+O",     true,  G::None, false, &M::Open1Click},
    {P::MenuSeparator, "",           "",                        "",           true,  G::None, false, nullptr},
    {P::MenuItem,      "Save1",      "上書き保存(&S)",          "Ctrl+S",     true,  G::None, false, &M::Save1Click},
    {P::MenuItem,      "SaveAs1",    "名前を付けて保存(&A)...", "",           true,  G::None, false, &M::SaveAs1Click},
    {P::MenuSeparator, "",           "",                        "",           true,  G::None, false, nullptr},
    {P::MenuItem,      "R2",         "書き出し(&R)...",         "",           true,  G::None, false, &M::R2Click},
    {P::MenuItem,      "GifExport1", "GIF アニメーションの書き出し...", "",     true,  G::None, false, &M::GifExport1Click},
    {P::MenuSeparator, "",           "",                        "",           true,  G::None, false, nullptr},
    {P::MenuItem,      "Exit1",      "終了(&X)",                "",           true,  G::None, false, &M::Exit1Click},
    {P::Menu,          "Edit1",      "編集(&E)",                "",           true,  G::None, false, nullptr},
    {P::MenuItem,      "Undo1",      "元に戻す(&U)",            "Ctrl+Z",     true,  G::None, false, &M::Undo1Click},
    {P::MenuSeparator, "",           "",                        "",           true,  G::None, false, nullptr},
    {P::MenuItem,      "Cut1",       "切り取り(&T)",            "Ctrl+X",     true,  G::None, false, &M::Cut1Click},
    {P::MenuItem,      "Copy1",      "コピー(&C)",              "Ctrl+C",     true,  G::None, false, &M::Copy1Click},
    {P::MenuItem,      "Paste1",     "貼り付け(&P)",            "Ctrl+V",     true,  G::None, false, &M::Paste1Click},
    {P::MenuItem,      "SelectAll1", "すべて選択(&A)",          "Ctrl+A",     true,  G::None, false, &M::SelectAll1Click},
    {P::MenuSeparator, "",           "",                        "",           true,  G::None, false, nullptr},
    {P::MenuItem,      "G1",         "タグをコピー(&G)",        "",           true,  G::None, false, &M::G1Click},
    {P::Menu,          "View1",      "表示(&V)",                "",           true,  G::None, false, nullptr},
    {P::MenuItem,      "Onion1",     "オニオンスキン(&O)",      "F3",         true,  G::Alone, false, &M::Onion1Click},
    {P::MenuItem,      "OnionNext1", "オニオンスキンに次のイメージ(&N)", "Shift+F3", true, G::Alone, false, &M::OnionNext1Click},
    {P::Menu,          "L1",         "イメージリスト(&L)",      "",           true,  G::None, false, nullptr},
    {P::MenuItem,      "I2",         "新規イメージ(&I)",        "Ins",        true,  G::None, false, &M::I2Click},
    {P::MenuSeparator, "",           "",                        "",           true,  G::None, false, nullptr},
    {P::MenuItem,      "T1",         "イメージの切り取り(&T)",  "Ctrl+Alt+X", false, G::None, false, &M::T1Click},
    {P::MenuItem,      "P2",         "イメージのコピー(&C)",    "Ctrl+Alt+C", true,  G::None, false, &M::P2Click},
    {P::MenuItem,      "P3",         "イメージの貼り付け(&P)",  "Ctrl+Alt+V", true,  G::None, false, &M::P3Click},
    {P::MenuItem,      "D1",         "イメージの削除(&D)",      "Del",        false, G::None, false, &M::D1Click},
    {P::MenuSeparator, "",           "",                        "",           true,  G::None, false, nullptr},
    {P::MenuItem,      "MoveUp1",    "イメージを前へ移動(&B)",  "Ctrl+Shift+Left",  true, G::None, false, &M::MoveUp1Click},
    {P::MenuItem,      "MoveDown1",  "イメージを後ろへ移動(&F)", "Ctrl+Shift+Right", true, G::None, false, &M::MoveDown1Click},
    {P::MenuItem,      "TimeSet1",   "表示時間の設定(&E)...",   "",           true,  G::None, false, &M::TimeSet1Click},
    {P::MenuItem,      "TimeRange1", "表示時間の一括設定...",   "",           true,  G::None, false, &M::TimeRange1Click},
    {P::MenuSeparator, "",           "",                        "",           true,  G::None, false, nullptr},
    {P::MenuItem,      "A1",         "リストへ追加(&A)...",     "",           true,  G::None, false, &M::A1Click},
    {P::Menu,          "R1",         "実行(&R)",                "",           true,  G::None, false, nullptr},
    {P::MenuItem,      "P1",         "再生(&P)",                "F9",         true,  G::None, false, &M::P1Click},
    {P::MenuItem,      "N3",         "停止(&S)",                "Ctrl+F2",    false, G::None, false, &M::N3Click},
    {P::Menu,          "Help1",      "ヘルプ(&H)",              "",           true,  G::None, false, nullptr},
    {P::MenuItem,      "Contents1",  "目次(&C)",                "",           true,  G::None, false, &M::Contents1Click},
    {P::MenuSeparator, "",           "",                        "",           true,  G::None, false, nullptr},
    {P::MenuItem,      "P4",         "サポートホームページ(&P)", "",          true,  G::None, false, &M::P4Click},
    {P::MenuSeparator, "",           "",                        "",           true,  G::None, false, nullptr},
    {P::MenuItem,      "About1",     "バージョン情報(&A)...",   "",           true,  G::None, false, &M::About1Click},

    {P::PopupItem,      "N8",        "新規イメージ(&N)",        "",           true,  G::None, false, &M::I2Click},
    {P::PopupSeparator, "",          "",                        "",           true,  G::None, false, nullptr},
    {P::PopupItem,      "Cut2",      "イメージの切り取り(&T)",  "",           false, G::None, false, &M::T1Click},
    {P::PopupItem,      "Copy2",     "イメージのコピー(&C)",    "",           true,  G::None, false, &M::P2Click},
    {P::PopupItem,      "Paste2",    "イメージの貼り付け(&P)",  "",           true,  G::None, false, &M::P3Click},
    {P::PopupItem,      "Delete2",   "イメージの削除(&D)",      "",           false, G::None, false, &M::D1Click},
    {P::PopupSeparator, "",          "",                        "",           true,  G::None, false, nullptr},
    {P::PopupItem,      "MoveUp2",   "イメージを前へ移動(&B)",  "",           true,  G::None, false, &M::MoveUp1Click},
    {P::PopupItem,      "MoveDown2", "イメージを後ろへ移動(&F)", "",          true,  G::None, false, &M::MoveDown1Click},
    {P::PopupItem,      "TimeSet2",  "表示時間の設定(&E)...",   "",           true,  G::None, false, &M::TimeSet1Click},
    {P::PopupItem,      "TimeRange2", "表示時間の一括設定...",  "",           true,  G::None, false, &M::TimeRange1Click},
    {P::PopupSeparator, "",          "",                        "",           true,  G::None, false, nullptr},
    {P::PopupItem,      "A2",        "リストへ追加(&A)...",     "",           true,  G::None, false, &M::A1Click},

    {P::ToolButton,    "ToolButton1",  "新規作成",           "", true,  G::None, false, &M::New1Click},
    {P::ToolButton,    "ToolButton2",  "開く",               "", true,  G::None, false, &M::Open1Click},
    {P::ToolButton,    "ToolButton3",  "上書き保存",         "", true,  G::None, false, &M::Save1Click},
    {P::ToolSeparator, "",             "",                   "", true,  G::None, false, nullptr},
    {P::ToolButton,    "ToolButton5",  "切り取り",           "", true,  G::None, false, &M::Cut1Click},
    {P::ToolButton,    "ToolButton6",  "コピー",             "", true,  G::None, false, &M::Copy1Click},
    {P::ToolButton,    "ToolButton7",  "貼り付け",           "", true,  G::None, false, &M::Paste1Click},
    {P::ToolSeparator, "",             "",                   "", true,  G::None, false, nullptr},
    {P::ToolButton,    "ToolButton12", "イメージの切り取り", "", true,  G::None, false, &M::T1Click},
    {P::ToolButton,    "ToolButton13", "イメージのコピー",   "", true,  G::None, false, &M::P2Click},
    {P::ToolButton,    "ToolButton14", "イメージの貼り付け", "", true,  G::None, false, &M::P3Click},
    {P::ToolSeparator, "",             "",                   "", true,  G::None, false, nullptr},
    {P::ToolButton,    "ToolButton9",  "再生",               "", true,  G::None, false, &M::P1Click},
    {P::ToolButton,    "ToolButton10", "停止",               "", false, G::None, false, &M::N3Click},

    {P::DrawButton,    "tbtnBlackWhite", "", "", true, G::ColorMode, true,  &M::tbtnBlackWhiteClick},
    {P::DrawButton,    "tbtnWhiteBlack", "", "", true, G::ColorMode, false, &M::tbtnWhiteBlackClick},
    {P::DrawSeparator, "",               "", "", true, G::None,      false, nullptr},
    {P::DrawButton,    "tbtnTrans",      "", "", true, G::Alone,     false, &M::tbtnTransClick},
    {P::DrawSeparator, "",               "", "", true, G::None,      false, nullptr},
    {P::DrawButton,    "tbtnClear",      "", "", true, G::None,      false, &M::tbtnClearClick},
    {P::DrawButton,    "tbtnCenter",     "", "", true, G::None,      false, &M::tbtnCenterClick},
    {P::DrawButton,    "tbtnReverse",    "", "", true, G::None,      false, &M::tbtnReverseClick},
    {P::DrawButton,    "tbtnUD",         "", "", true, G::None,      false, &M::tbtnUDClick},
    {P::DrawButton,    "tbtnLR",         "", "", true, G::None,      false, &M::tbtnLRClick},
    {P::DrawSeparator, "",               "", "", true, G::None,      false, nullptr},
    {P::DrawButton,    "tbtnPen",        "", "", true, G::Tool,      true,  &M::tbtnPenClick},
    {P::DrawButton,    "tbtnSelect",     "", "", true, G::Tool,      false, &M::tbtnSelectClick},
    {P::DrawButton,    "tbtnPaint",      "", "", true, G::Tool,      false, &M::tbtnPaintClick},
    {P::DrawButton,    "tbtnLine",       "", "", true, G::Tool,      false, &M::tbtnLineClick},
    {P::DrawButton,    "tbtnBox",        "", "", true, G::Tool,      false, &M::tbtnBoxClick},
    {P::DrawButton,    "tbtnBoxFill",    "", "", true, G::Tool,      false, &M::tbtnBoxFillClick},
    {P::DrawButton,    "tbtnCircle",     "", "", true, G::Tool,      false, &M::tbtnCircleClick},
    {P::DrawButton,    "tbtnCircleFill", "", "", true, G::Tool,      false, &M::tbtnCircleFillClick},
    // clang-format on
};

} // namespace

std::span<const CommandSpec> commandTable() {
    return kCommands;
}

} // namespace vemurion
