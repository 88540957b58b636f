// vemurion-cli: the editor's documents from the command line. Everything it decides is the
// core's; this file only turns arguments into calls and results into output and exit codes.

#include "cli/Arguments.h"
#include "files/BitmapExport.h"
#include "files/DocumentFile.h"
#include "files/DocumentReader.h"
#include "files/DocumentText.h"
#include "files/FileKind.h"
#include "files/OutputFiles.h"
#include "import/DocumentBuilder.h"
#include "publish/GifAnimation.h"
#include "publish/TagText.h"
#include "publish/Thumbnail.h"
#include "spine/Editor.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <initializer_list>
#include <iterator>
#include <new>
#include <string>
#include <string_view>
#include <vector>

namespace vemurion::cli {
namespace {

// The largest step --every takes.
constexpr int kMaxEvery = 65535;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// A refusal with the message the editor would show; it ends the run with exit code 1.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void check(const std::optional<std::string>& message) {
    if (message) throw Failure(*message);
}

void print(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

AnimationDocument readDocument(const std::string& path) {
    DocumentRead read = readDocumentFile(path);
    if (!read.document) throw Failure(read.error);
    return std::move(*read.document);
}

int frameOption(const Arguments& args, const AnimationDocument& doc, const std::string& path) {
    const int index = args.number("--frame", 0, kMaxFrames - 1, 0);
    if (index >= doc.FrameCount)
        throw Failure(messageName(path) + " にはイメージ " + std::to_string(index) +
                      " がありません.");
    return index;
}

void runInfo(const Arguments& args) {
    print(documentInfoText(readDocument(args.positional()[0])));
}

BuildOptions pictureOptions(const Arguments& args) {
    BuildOptions options;
    options.candidate = args.number("--candidate", 0, kCandidateCount - 1, kFirstChosenCandidate);
    options.background = args.has("--white-on-black") ? kBlack : kWhite;
    // In the order of DitherMethod and AspectFit.
    options.conversion.method = static_cast<DitherMethod>(
        args.oneOf("--dither", {"none", "ordered", "floyd-steinberg", "atkinson"}, 0));
    options.conversion.fit =
        static_cast<AspectFit>(args.oneOf("--fit", {"stretch", "contain", "cover"}, 0));
    return options;
}

void runShow(const Arguments& args) {
    const std::string& path = args.positional()[0];
    const bool lcd = pathHasLcdExtension(path) || pathHasTextExtension(path);
    const BuildOptions options = pictureOptions(args);
    AnimationDocument doc;
    if (lcd) {
        doc = readDocument(path);
    } else {
        // A picture shows the frames Add to list would insert.
        DocumentBuilder builder(options);
        check(builder.addFile(path));
        const auto built = builder.document();
        if (!built) throw Failure(builder.readRefusal(path));
        doc = *built;
    }
    if (args.has("--frame")) {
        print(frameText(doc.sheet.cell(frameOption(args, doc, path))));
    } else if (!lcd && doc.FrameCount == 1) {
        print(frameText(doc.sheet.cell(0)));
    } else {
        print(documentFramesText(doc));
    }
}

void runExport(const Arguments& args) {
    const std::string& path = args.positional()[0];
    const std::string& out = args.positional()[1];
    if (args.has("--frame") && args.has("--series"))
        throw UsageError("--frame and --series exclude each other");
    const AnimationDocument doc = readDocument(path);
    const FileWriter write = saverSparing({path});
    if (args.has("--series")) {
        check(exportBitmapSeries(doc, out, write));
    } else {
        check(exportFrameBitmap(doc, frameOption(args, doc, path), out, write));
    }
}

// Refuses an output whose extension, in any case, is that of another kind of file the program
// reads or writes than `kinds`, the ones the command writes. Other names are the user's to choose.
void checkOutputKind(const std::string& out, std::initializer_list<std::string_view> kinds,
                     const std::string& what) {
    static constexpr std::string_view kKnown[] = {".lcd",  ".txt", ".bmp", ".jpg",
                                                  ".jpeg", ".png", ".gif"};
    const std::string name = fileNamePart(out);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) return;
    std::string extension = name.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (std::find(std::begin(kKnown), std::end(kKnown), extension) != std::end(kKnown) &&
        std::find(kinds.begin(), kinds.end(), extension) == kinds.end())
        throw UsageError(what + ", not " + out);
}

void runTag(const Arguments& args) {
    PortChoice ports{};
    const std::string letters = args.text("--ports").value_or("A");
    const UsageError portsUsage("--ports takes letters among A, B, C, D");
    if (letters.empty()) throw portsUsage;
    for (const char letter : letters) {
        const auto port = std::find(kPortNames.begin(), kPortNames.end(), letter);
        if (port == kPortNames.end()) throw portsUsage;
        ports[static_cast<std::size_t>(port - kPortNames.begin())] = true;
    }
    const TagForm form = args.has("--script") ? TagForm::Script : TagForm::Plain;
    print(clipboardText(boxText(tagLines(args.positional()[0], form, ports))));
}

void runGif(const Arguments& args) {
    const std::string& path = args.positional()[0];
    const std::string& out = args.positional()[1];
    checkOutputKind(out, {".gif"}, "gif writes a .gif file");
    const int scale = args.number("--scale", kMinGifScale, kMaxGifScale, 4);
    const AnimationDocument doc = readDocument(path);
    const auto bytes = encodeGifAnimation(doc, scale);
    if (!bytes) throw Failure(messageName(out) + " に保存できませんでした.");
    check(saverSparing({path})(out, *bytes));
}

void runBuild(const Arguments& args) {
    const std::string& out = args.positional()[0];
    checkOutputKind(out, {".lcd", ".txt"}, "build writes a .lcd or .txt file");
    const std::vector<std::string> inputs(args.positional().begin() + 1, args.positional().end());
    BuildOptions options = pictureOptions(args);
    options.loopCount = args.number("--loop", 1, kInfiniteLoops, kInfiniteLoops);
    options.pictureTime = args.number("--time", 1, 255, 1);
    options.every = args.number("--every", 1, kMaxEvery, 1);
    if (args.has("--fit-frames")) {
        if (args.has("--every")) throw UsageError("--every and --fit-frames exclude each other");
        // Each file's frames are counted first, as the build itself would read them.
        std::vector<int> counts;
        for (const std::string& input : inputs) {
            DocumentBuilder counter(options);
            check(counter.addFile(input));
            counts.push_back(counter.frameCount());
        }
        options.every = everyToFit(counts, kMaxFrames);
    }
    DocumentBuilder builder(options);
    for (const std::string& input : inputs)
        check(builder.addFile(input));
    const auto doc = builder.document();
    if (!doc) throw Failure(builder.saveRefusal(out));
    check(saverSparing(inputs)(out, encodeLcd(*doc, kVersionText)));
}

// As a file manager calls it: the first frame of whatever LCD file FILE is, by any name.
void runThumbnail(const Arguments& args) {
    const std::string& path = args.positional()[0];
    const std::string& out = args.positional()[1];
    const std::string& sizeText = args.positional()[2];
    int size = 0;
    const auto [end, error] =
        std::from_chars(sizeText.data(), sizeText.data() + sizeText.size(), size);
    if (error != std::errc() || end != sizeText.data() + sizeText.size() || size < 1 ||
        size > kMaxThumbnailSize)
        throw UsageError("SIZE takes a whole number from 1 to " +
                         std::to_string(kMaxThumbnailSize));
    check(contentRefusal(path));
    auto content = readLcdContent(path);
    if (const auto* failure = std::get_if<ReadFailure>(&content))
        throw Failure(readFailureText(path, *failure));
    const auto bytes = encodeThumbnailPng(std::get<LcdContent>(content).frames.front(), size);
    if (!bytes) throw Failure(messageName(out) + " に保存できませんでした.");
    check(saverSparing({path})(out, *bytes));
}

struct Subcommand {
    const char* name;
    const char* synopsis;
    const char* example;
    std::vector<OptionSpec> options;
    std::size_t minPositional;
    std::optional<std::size_t> maxPositional;
    void (*run)(const Arguments&);
};

const std::vector<Subcommand>& subcommands() {
    static const std::vector<Subcommand> table = {
        {"info", "info FILE", "info anim.lcd", {}, 1, 1, runInfo},
        {"show",
         "show FILE [--frame I] [--candidate K] [--dither D] [--fit F] [--white-on-black]",
         "show photo.jpg --candidate 3 --dither floyd-steinberg --fit cover",
         {{"--frame", true},
          {"--candidate", true},
          {"--dither", true},
          {"--fit", true},
          {"--white-on-black", false}},
         1,
         1,
         runShow},
        {"export",
         "export FILE OUT [--frame I | --series]",
         "export anim.lcd walk.bmp --series",
         {{"--frame", true}, {"--series", false}},
         2,
         2,
         runExport},
        {"tag",
         "tag FILE [--ports LETTERS] [--script]",
         "tag anim.lcd --ports AC --script",
         {{"--ports", true}, {"--script", false}},
         1,
         1,
         runTag},
        {"build",
         "build OUT [--loop N] [--time T] [--candidate K] [--dither D] [--fit F] "
         "[--every N | --fit-frames] [--white-on-black] INPUT...",
         "build anim.lcd --loop 3 title.lcd walk.lcd",
         {{"--loop", true},
          {"--time", true},
          {"--candidate", true},
          {"--dither", true},
          {"--fit", true},
          {"--every", true},
          {"--fit-frames", false},
          {"--white-on-black", false}},
         2,
         std::nullopt,
         runBuild},
        {"gif",
         "gif FILE OUT.gif [--scale S]",
         "gif anim.lcd anim.gif --scale 4",
         {{"--scale", true}},
         2,
         2,
         runGif},
        {"thumbnail",
         "thumbnail FILE OUT.png SIZE",
         "thumbnail anim.lcd anim.png 128",
         {},
         3,
         3,
         runThumbnail},
    };
    return table;
}

std::string usageText() {
    std::string text = "usage: vemurion-cli COMMAND ARGUMENTS...\n";
    for (const Subcommand& command : subcommands())
        text += std::string("       vemurion-cli ") + command.synopsis + "\n";
    text += "       vemurion-cli --help | --version\n";
    return text;
}

std::string helpText() {
    std::string text = usageText();
    text += "\n"
            "  info    frames, loop count and display times of an LCD or internal-LCD text file\n"
            "  show    frames as 32 lines of 48 characters, '#' black and '.' white; a picture\n"
            "          (BMP, JPEG, PNG, GIF) as Add to list would insert it\n"
            "  export  one frame (default 0) or every frame as 48 x 32 black-and-white bitmaps\n"
            "  tag     the HTML tag for the file, for controller ports A to D (default A)\n"
            "  build   an LCD file of the inputs' frames in order, as Add to list brings them in:\n"
            "          all frames of LCD files and animated GIFs, one frame of display time T\n"
            "          (default 1) for a picture, plain or candidate K (0 to 8, default 4) of\n"
            "          its conversion; loop count 1 to 255 (default 255, without end)\n"
            "  --every N  build keeps frames 0, N, 2N, ... of each file of several frames, each\n"
            "          with the display times of the frames it stands for summed (at most 255)\n"
            "  --fit-frames  build takes the smallest N that keeps the result within 255 frames\n"
            "  --dither D  show and build convert a picture by method D: none (the nine\n"
            "          thresholds, the default), ordered (an 8 x 8 pattern), floyd-steinberg\n"
            "          or atkinson (error diffusion)\n"
            "  --fit F  and fit one larger than 48 x 32 by F: stretch (the default), contain\n"
            "          (the whole picture on the background) or cover (the overflow cut off)\n"
            "  gif     an animated GIF at the animation's timing, each dot S x S pixels "
            "(1 to 16, default 4)\n"
            "  thumbnail  the first frame as a PNG of at most SIZE pixels on its longer side,\n"
            "          black on white, each dot whole pixels square from SIZE 48 up\n"
            "\nExamples:\n";
    for (const Subcommand& command : subcommands())
        text += std::string("  vemurion-cli ") + command.example + "\n";
    return text;
}

// Every message goes out as one line, after the program's name.
void printError(std::string message) {
    std::replace(message.begin(), message.end(), '\n', ' ');
    std::fprintf(stderr, "vemurion-cli: %s\n", message.c_str());
}

int usageError(const std::string& problem) {
    printError(problem);
    std::fputs(usageText().c_str(), stderr);
    return kExitUsage;
}

int run(const std::vector<std::string>& words) {
    if (words.empty()) return usageError("no command given");
    const std::string& name = words.front();
    if (words.size() == 1 && name == "--help") {
        print(helpText());
        return 0;
    }
    if (words.size() == 1 && name == "--version") {
        print(std::string(kVersionText) + "\n");
        return 0;
    }
    const auto& table = subcommands();
    const auto command = std::find_if(table.begin(), table.end(),
                                      [&](const Subcommand& c) { return name == c.name; });
    if (command == table.end()) return usageError("unknown command " + name);
    try {
        const std::vector<std::string> rest(words.begin() + 1, words.end());
        command->run(
            Arguments(rest, command->options, command->minPositional, command->maxPositional));
    } catch (const UsageError& error) {
        return usageError(error.what());
    } catch (const Failure& failure) {
        printError(failure.what());
        return kExitFailure;
    } catch (const std::bad_alloc&) {
        printError("out of memory");
        return kExitFailure;
    }
    return 0;
}

} // namespace
} // namespace vemurion::cli

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    const int status = vemurion::cli::run(words);
    // Output that could not be written (a full disk, a closed pipe) is a failure too.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fputs("vemurion-cli: standard output could not be written\n", stderr);
        return status == 0 ? vemurion::cli::kExitFailure : status;
    }
    return status;
}
