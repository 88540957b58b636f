#pragma once

#include "framelist/FrameClipboard.h"
#include "spine/Editor.h"
#include "spine/Services.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vemurion::test {

using Bytes = std::vector<std::uint8_t>;

// Prompts answered from queues the test fills; every message, question and dialog is recorded.
// A question asked with its queue empty fails the test and is answered Cancel (or nullopt).
class FakePrompts : public Prompts {
public:
    // Scripted answers, taken from the front.
    std::deque<Answer> yesNoCancelAnswers;
    std::deque<bool> okCancelAnswers;
    std::deque<std::optional<FileDialogAnswer>> openFileAnswers;
    std::deque<std::optional<FileDialogAnswer>> saveFileAnswers;
    std::deque<std::optional<std::vector<int>>> numberAnswers;

    // What the program showed, in order.
    std::vector<std::string> warnings;                             // texts passed to warn
    std::vector<std::string> questions;                            // texts of askYesNoCancel
    std::vector<std::pair<std::string, std::string>> okCancelAsks; // text and caption
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;
    std::vector<NumbersRequest> numberRequests;
    // One entry per call, "warn", "askYesNoCancel", "askOkCancel", "askOpenFile", "askSaveFile".
    std::vector<std::string> calls;

    // Shorthands for scripting.
    void answer(Answer a) { yesNoCancelAnswers.push_back(a); }
    void answerOpenFile(const std::string& path, int filterIndex = 1) {
        openFileAnswers.push_back(FileDialogAnswer{path, filterIndex});
    }
    void cancelOpenFile() { openFileAnswers.push_back(std::nullopt); }
    void answerSaveFile(const std::string& path, int filterIndex = 1) {
        saveFileAnswers.push_back(FileDialogAnswer{path, filterIndex});
    }
    void cancelSaveFile() { saveFileAnswers.push_back(std::nullopt); }

    // Number of scripted answers nobody asked for.
    std::size_t unusedAnswers() const;
    // Forgets everything recorded (not the scripted answers).
    void clearRecord();

    void warn(const std::string& text) override;
    Answer askYesNoCancel(const std::string& text) override;
    bool askOkCancel(const std::string& text, const std::string& caption) override;
    std::optional<FileDialogAnswer> askOpenFile(const FileDialogRequest& request) override;
    std::optional<FileDialogAnswer> askSaveFile(const FileDialogRequest& request) override;
    std::optional<std::vector<int>> askNumbers(const NumbersRequest& request) override;
};

// An in-memory clipboard. As on the system clipboard, each set replaces everything on it.
class FakeClipboard : public ClipboardPort {
public:
    std::optional<Raster> pictureContent;
    std::optional<Bytes> frameBlockContent;
    std::optional<std::string> textContent;
    bool pictureUnreadable = false; // a picture is offered, but it cannot be read

    void clear();

    bool hasPicture() const override { return pictureContent.has_value() || pictureUnreadable; }
    bool hasFrameBlock() const override {
        return frameBlockContent.has_value() && frameBlockContent->size() == kFrameBlockSize;
    }
    bool readPicture(PictureRows& rows) const override;
    std::optional<Bytes> frameBlock() const override { return frameBlockContent; }
    void setPicture(const Raster& picture) override;
    void setFrameBlock(const Bytes& block) override;
    void setText(const std::string& text) override;
};

// Collects the ViewPart bits of every change notice since the last reset.
class RecordingView : public ViewSink {
public:
    unsigned parts = 0;
    int notices = 0;

    void changed(unsigned changedParts) override {
        parts |= changedParts;
        ++notices;
    }
    void reset() {
        parts = 0;
        notices = 0;
    }
    bool saw(unsigned wanted) const { return (parts & wanted) == wanted; }
};

// A per-test temporary folder under /tmp, removed with everything in it on destruction.
class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    // The folder without a trailing '/'.
    const std::string& folder() const { return m_folder; }
    // The full path of `name` in the folder.
    std::string path(const std::string& name) const { return m_folder + "/" + name; }
    // Names of the entries in the folder, sorted.
    std::vector<std::string> entries() const;
    // Removes the folder and everything in it now rather than on destruction.
    void remove();

private:
    std::string m_folder;
};

// Whole-file helpers for tests; failures are reported through gtest.
void writeBytes(const std::string& path, const Bytes& bytes);
void writeText(const std::string& path, const std::string& text);
Bytes readBytes(const std::string& path);
// Passes when the byte strings are equal; on failure names their sizes and the first difference.
::testing::AssertionResult sameBytes(const Bytes& actual, const Bytes& expected);

// An Editor wired to the fakes, with the home folder and the dialogs' folders at a fresh
// temporary folder and a new document made. TearDown fails the test if a scripted answer went
// unasked, clears any write fault and removes the folder.
class EditorFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string path(const std::string& name) const { return temp.path(name); }

    TempFolder temp;
    FakePrompts prompts;
    FakeClipboard clipboard;
    RecordingView view;
    Editor e;
};

} // namespace vemurion::test

// Skips the test, naming the folder, where the shared test data is not there.
#define SKIP_WITHOUT(folder)                                                                       \
    if (!std::filesystem::is_directory(folder)) GTEST_SKIP() << "test data not found: " << (folder)
