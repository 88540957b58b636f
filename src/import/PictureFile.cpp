#include "import/PictureFile.h"

#include "files/FileKind.h"
#include "import/BmpReader.h"
#include "import/JpegDecoder.h"
#include "import/PngReader.h"

namespace vemurion {

ImportResult importPictureFile(const std::string& path) {
    if (pathHasBitmapExtension(path)) return importBitmapFile(path);
    if (pathHasJpegExtension(path)) return importJpegFile(path);
    return {std::nullopt, fileNamePart(path) + " は読み込めません."};
}

ImportResult importPictureFile(const std::string& path, PictureKind kind, Rgb background) {
    switch (kind) {
    case PictureKind::Bitmap:
        return importBitmapFile(path);
    case PictureKind::Jpeg:
        return importJpegFile(path);
    case PictureKind::Png:
        return importPngFile(path, background);
    case PictureKind::Gif:
    case PictureKind::None:
        break;
    }
    return {std::nullopt, fileNamePart(path) + " は読み込めません."};
}

} // namespace vemurion
