#include "app/ui/Application.h"
#include "app/ui/QtPrompts.h"
#include "support/FakeServices.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

namespace vemurion {
namespace {

// Qt's own dialogs read in Japanese like the program's captions: the file dialog, its overwrite
// question and the standard buttons of a message box.
TEST(QtTranslation, QtsOwnDialogsSpeakJapanese) {
    QTranslator translator;
    ASSERT_TRUE(loadQtTranslation(translator))
        << "Qt's Japanese translation is not installed (Debian: qt6-translations-l10n)";
    QCoreApplication::installTranslator(&translator);

    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("名前を付けて保存"));
    const auto* fileName = dialog.findChild<QLabel*>("fileNameLabel");
    ASSERT_NE(fileName, nullptr);
    EXPECT_EQ(fileName->text(), QString::fromUtf8("ファイル名(&N):"));
    EXPECT_EQ(QFileDialog::tr("%1 already exists.\nDo you want to replace it?").arg("anim.lcd"),
              QString::fromUtf8("anim.lcd は既に存在します。\n置き換えますか?"));

    QMessageBox box(QMessageBox::Warning, "Vemurion", "", QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QString::fromUtf8("キャンセル"));

    QCoreApplication::removeTranslator(&translator);
}

// Both file dialogs, as the editor shows them: the list's columns read in Japanese, and closing
// the dialog leaves no settings file behind.
TEST(QtFileDialogs, ShowJapaneseColumnsAndKeepNoSettings) {
    const QString settings =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
        QStringLiteral("/QtProject.conf");
    QFile::remove(settings);
    keepNoSettings();
    test::TempFolder temp;
    test::writeBytes(temp.path("anim.zz9"), std::vector<std::uint8_t>(100, 0));
    // The widest date there is, which the list must show whole.
    QFile file(QString::fromStdString(temp.path("anim.zz9")));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2026, 12, 28), QTime(22, 58)),
                                 QFileDevice::FileModificationTime));
    file.close();
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(temp.path("frames"))));
    test::writeBytes(temp.path("anim.lcd"), std::vector<std::uint8_t>(1023, 0));

    QtPrompts prompts(nullptr);
    FileDialogRequest request;
    request.initialFolder = temp.folder();
    request.filter = "LCD (*.lcd)|*.lcd|*.*|*.*";
    request.filterIndex = 2;
    // The headers, then the rows' texts, a date as "D".
    QString shown;
    const auto readAndClose = [&shown] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        const QTreeView* view = dialog->findChild<QTreeView*>("treeView");
        const QAbstractItemModel* list = view->model();
        EXPECT_TRUE(QTest::qWaitFor([&] { return list->rowCount(view->rootIndex()) == 3; }));
        for (int row = -1; row < 3; ++row) {
            for (int column = 0; column < 4; ++column) {
                const QString text = (row < 0 ? list->headerData(column, Qt::Horizontal)
                                              : list->index(row, column, view->rootIndex()).data())
                                         .toString();
                shown += text + '|';
                EXPECT_GT(view->header()->sectionSize(column),
                          view->fontMetrics().horizontalAdvance(text) + 16)
                    << text.toStdString() << " is cut";
            }
        }
        shown.replace(QRegularExpression(QStringLiteral("\\d{4}/\\d\\d/\\d\\d \\d+:\\d\\d")), "D");
        dialog->reject();
    };
    for (const bool save : {false, true}) {
        shown.clear();
        QTimer::singleShot(0, readAndClose);
        EXPECT_FALSE(save ? prompts.askSaveFile(request) : prompts.askOpenFile(request));
        EXPECT_EQ(
            shown,
            "名前|サイズ|種類|更新日時|frames||フォルダー|D|anim.lcd|1023 バイト|LCDファイル|D|"
            "anim.zz9|100 バイト|不明|D|");
    }
    EXPECT_FALSE(QFile::exists(settings));
}

} // namespace
} // namespace vemurion
