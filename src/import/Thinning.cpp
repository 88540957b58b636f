#include "import/Thinning.h"

#include <algorithm>

namespace vemurion {

int thinningStep(int count, int room) {
    room = std::max(room, 1);
    return std::max((count + room - 1) / room, 1);
}

std::vector<int> thinnedFrames(int count, int step) {
    std::vector<int> kept;
    for (int k = 0; k < count; k += std::max(step, 1))
        kept.push_back(k);
    return kept;
}

std::vector<int> thinnedTimes(std::span<const int> times, int step) {
    step = std::max(step, 1);
    std::vector<int> summed;
    for (std::size_t k = 0; k < times.size(); k += static_cast<std::size_t>(step)) {
        int sum = 0;
        for (std::size_t j = k; j < std::min(times.size(), k + static_cast<std::size_t>(step)); ++j)
            sum += times[j];
        summed.push_back(std::min(sum, 255));
    }
    return summed;
}

std::string tooManyFramesQuestion(const std::string& name, int count, int room) {
    const int step = thinningStep(count, room);
    const int kept = static_cast<int>(thinnedFrames(count, step).size());
    return name + " には " + std::to_string(count) + " 枚のイメージがあり, リストには " +
           std::to_string(room) + " 枚しか入りません.\n" + "「はい」: " + std::to_string(step) +
           " 枚ごとに 1 枚に間引いて " + std::to_string(kept) +
           " 枚を追加します (表示時間は間引いた分を合わせます).\n" + "「いいえ」: 先頭の " +
           std::to_string(room) + " 枚だけを追加します.";
}

} // namespace vemurion
