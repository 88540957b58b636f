#include "import/PictureFile.h"

#include "files/FileKind.h"
#include "import/BmpReader.h"
#include "import/JpegDecoder.h"

namespace vemurion {

ImportResult importPictureFile(const std::string& path) {
    if (pathHasBitmapExtension(path)) return importBitmapFile(path);
    if (pathHasJpegExtension(path)) return importJpegFile(path);
    return {std::nullopt, fileNamePart(path) + " は読み込めません."};
}

} // namespace vemurion
