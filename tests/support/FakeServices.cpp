#include "support/FakeServices.h"

#include "support/Pictures.h"

#include "files/DocumentFile.h"
#include "files/FileIo.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace vemurion::test {

namespace fs = std::filesystem;

std::size_t FakePrompts::unusedAnswers() const {
    return yesNoCancelAnswers.size() + okCancelAnswers.size() + openFileAnswers.size() +
           saveFileAnswers.size() + numberAnswers.size();
}

void FakePrompts::clearRecord() {
    warnings.clear();
    questions.clear();
    okCancelAsks.clear();
    openRequests.clear();
    saveRequests.clear();
    numberRequests.clear();
    calls.clear();
}

void FakePrompts::warn(const std::string& text) {
    calls.emplace_back("warn");
    warnings.push_back(text);
}

namespace {

// The next of `answers`; when the code asks what the test did not expect, a failure and `none`.
template <typename Value>
Value nextAnswer(std::deque<Value>& answers, Value none, const std::string& unexpected) {
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected " << unexpected;
        return none;
    }
    Value a = answers.front();
    answers.pop_front();
    return a;
}

} // namespace

Answer FakePrompts::askYesNoCancel(const std::string& text) {
    calls.emplace_back("askYesNoCancel");
    questions.push_back(text);
    return nextAnswer(yesNoCancelAnswers, Answer::Cancel, "question: " + text);
}

bool FakePrompts::askOkCancel(const std::string& text, const std::string& caption) {
    calls.emplace_back("askOkCancel");
    okCancelAsks.emplace_back(text, caption);
    return nextAnswer(okCancelAnswers, false, "OK/Cancel question: " + text);
}

std::optional<FileDialogAnswer> FakePrompts::askOpenFile(const FileDialogRequest& request) {
    calls.emplace_back("askOpenFile");
    openRequests.push_back(request);
    return nextAnswer(openFileAnswers, {}, "open dialog: " + request.title);
}

std::optional<FileDialogAnswer> FakePrompts::askSaveFile(const FileDialogRequest& request) {
    calls.emplace_back("askSaveFile");
    saveRequests.push_back(request);
    return nextAnswer(saveFileAnswers, {}, "save dialog: " + request.title);
}

std::optional<std::vector<int>> FakePrompts::askNumbers(const NumbersRequest& request) {
    calls.emplace_back("askNumbers");
    numberRequests.push_back(request);
    return nextAnswer(numberAnswers, {}, "question for numbers: " + request.caption);
}

bool FakeClipboard::readPicture(PictureRows& rows) const {
    if (!pictureContent || pictureUnreadable) return false;
    sendRows(*pictureContent, rows);
    return true;
}

void FakeClipboard::clear() {
    pictureContent.reset();
    frameBlockContent.reset();
    textContent.reset();
    pictureUnreadable = false;
}

void FakeClipboard::setPicture(const Raster& picture) {
    clear();
    pictureContent = picture;
}

void FakeClipboard::setFrameBlock(const Bytes& block) {
    clear();
    frameBlockContent = block;
}

void FakeClipboard::setText(const std::string& text) {
    clear();
    textContent = text;
}

TempFolder::TempFolder() {
    std::string pattern = "/tmp/vemurion-test-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot make a temporary folder";
        return;
    }
    m_folder = pattern;
}

TempFolder::~TempFolder() {
    remove();
}

void TempFolder::remove() {
    if (m_folder.empty()) return;
    std::error_code ignored;
    fs::remove_all(m_folder, ignored);
}

std::vector<std::string> TempFolder::entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) ADD_FAILURE() << "cannot write " << path;
}

void writeText(const std::string& path, const std::string& text) {
    writeBytes(path, Bytes(text.begin(), text.end()));
}

Bytes readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "cannot read " << path;
        return {};
    }
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

::testing::AssertionResult sameBytes(const Bytes& actual, const Bytes& expected) {
    const auto diff = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    if (diff.first == actual.end() && diff.second == expected.end())
        return ::testing::AssertionSuccess();
    const auto at = static_cast<std::size_t>(diff.first - actual.begin());
    auto failure = ::testing::AssertionFailure()
                   << actual.size() << " bytes, expected " << expected.size()
                   << "; first difference at " << at << ":";
    if (diff.first != actual.end()) failure << " got " << int(*diff.first);
    if (diff.second != expected.end()) failure << " expected " << int(*diff.second);
    return failure;
}

void EditorFixture::SetUp() {
    e.prompts = &prompts;
    e.clipboard = &clipboard;
    e.view = &view;
    // The program lies where nothing is written, as when installed.
    e.ProgramFolder = "/usr/bin";
    e.homeFolder = temp.folder();
    e.openFolder = e.homeFolder;
    e.saveFolder = e.homeFolder;
    NewDocument(e);
    view.reset();
}

void EditorFixture::TearDown() {
    setWriteFaultForTesting(WriteFault::None);
    EXPECT_EQ(prompts.unusedAnswers(), 0u) << "a scripted answer was never asked for";
    temp.remove();
}

} // namespace vemurion::test
