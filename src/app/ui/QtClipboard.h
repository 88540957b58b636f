#pragma once

#include "spine/Services.h"

namespace vemurion {

// The name under which frames travel on the clipboard.
inline constexpr const char* kFrameClipboardFormat = "VEMURION_TYPE";

class QtClipboard : public ClipboardPort {
public:
    bool hasPicture() const override;
    bool hasFrameBlock() const override;
    bool readPicture(PictureRows& rows) const override;
    std::optional<std::vector<std::uint8_t>> frameBlock() const override;
    void setPicture(const Raster& picture) override;
    void setFrameBlock(const std::vector<std::uint8_t>& block) override;
    void setText(const std::string& text) override;
};

} // namespace vemurion
