#include "app/Hints.h"

#include "app/KeyCommands.h"
#include "editor/CanvasView.h"

#include <array>
#include <utility>

namespace vemurion {

namespace {

// Controls whose names end in a slot digit share one hint.
std::string_view withoutSlotDigit(std::string_view name) {
    for (std::string_view prefix : {"imgList", "lbList", "stTimes", "udTimes"}) {
        if (name.size() == prefix.size() + 1 && name.substr(0, prefix.size()) == prefix &&
            name.back() >= '0' && name.back() <= '4') {
            return prefix;
        }
    }
    return name;
}

struct Hint {
    std::string_view control;
    const char* text;
};

constexpr std::array kFixedHints = {
    Hint{"tbtnBlackWhite", " 左クリックの描画色を黒,右クリックの描画色を白に設定."},
    Hint{"tbtnWhiteBlack", " 左クリックの描画色を白,右クリックの描画色を黒に設定."},
    Hint{"tbtnTrans", " 画像の背景色を透過して貼り付けるかどうかのON/OFF."},
    Hint{"tbtnCenter", " 画像を自動的に中央へ配置."},
    Hint{"tbtnPen", " ペンツール.ドットを自由に描画可能."},
    Hint{"tbtnSelect", " 選択ツール.画像の移動やコピーに使用."},
    Hint{"tbtnPaint", " ペイントツール.色の塗り潰しに使用."},
    Hint{"tbtnLine", " ラインツール.直線の描画が可能."},
    Hint{"tbtnBox", " ボックスツール.長方形の枠の描画が可能."},
    Hint{"tbtnBoxFill", " 塗り潰しボックスツール.塗り潰した長方形の描画が可能."},
    Hint{"tbtnCircle", " 円ツール.円形の枠の描画が可能."},
    Hint{"tbtnCircleFill", " 塗り潰し円ツール.塗り潰した円形の描画が可能."},
    Hint{"SpeedButton1", " 画像を上方向にスクロール."},
    Hint{"SpeedButton2", " 画像を下方向にスクロール."},
    Hint{"SpeedButton3", " 画像を左方向にスクロール."},
    Hint{"SpeedButton4", " 画像を右方向にスクロール."},
    Hint{"imgList", " 左クリックで画像選択.右クリックでポップアップメニュー表示."},
    Hint{"lbList", " 画像番号と総画像枚数."},
    Hint{"stTimes", " 画像の表示時間.1ポイントは約0.25秒,4ポイントで約1秒."},
    Hint{"udTimes", " 画像の表示時間の設定.1ポイントは約0.25秒,4ポイントで約1秒."},
    Hint{"udLoops", " アニメーションの繰り返し回数の設定.最大は無限大."},
    Hint{"stLoops", " アニメーションの繰り返し回数."},
    Hint{"Label1", " アニメーションの繰り返し回数."},
    Hint{"frmMainClient", ""},
};

// The buttons that have a key of their own, which their hints end with.
constexpr std::array<std::pair<std::string_view, EditTool>, 8> kToolButtons = {{
    {"tbtnPen", EditTool::Pen},
    {"tbtnSelect", EditTool::Select},
    {"tbtnPaint", EditTool::Paint},
    {"tbtnLine", EditTool::Line},
    {"tbtnBox", EditTool::Box},
    {"tbtnBoxFill", EditTool::BoxFill},
    {"tbtnCircle", EditTool::Circle},
    {"tbtnCircleFill", EditTool::CircleFill},
}};

char buttonKey(std::string_view name) {
    if (name == "tbtnBlackWhite" || name == "tbtnWhiteBlack") return kColorModeKey;
    for (const auto& [button, tool] : kToolButtons)
        if (button == name) return toolKey(tool);
    return 0;
}

} // namespace

std::optional<std::string> controlHint(std::string_view control, ColorMode mode, bool isSelected) {
    const std::string_view name = withoutSlotDigit(control);
    if (name == "tbtnClear") {
        return mode == ColorMode::BlackWhite ? " 画像を背景色(白)で消去."
                                             : " 画像を背景色(黒)で消去.";
    }
    if (name == "tbtnReverse") {
        return isSelected ? " 選択範囲の画像の白黒を反転." : " 画像の白黒を反転.";
    }
    if (name == "tbtnUD") return isSelected ? " 選択範囲の画像の上下を反転." : " 画像の上下を反転.";
    if (name == "tbtnLR") return isSelected ? " 選択範囲の画像の左右を反転." : " 画像の左右を反転.";
    for (const Hint& hint : kFixedHints) {
        if (hint.control != name) continue;
        std::string text = hint.text;
        if (const char key = buttonKey(name)) text += std::string(" [") + key + "]";
        return text;
    }
    return std::nullopt;
}

void pointerOverControl(Editor& e, std::string_view control) {
    const auto hint = controlHint(control, e.colorMode, e.sel.isSelected);
    if (!hint) return;
    e.status[1] = *hint;
    e.notify(kViewStatus);
    if (!e.sel.isSelected) hideDotCursor(e, e.cursorX, e.cursorY);
}

} // namespace vemurion
