#include "app/ui/Application.h"

#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

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

} // namespace
} // namespace vemurion
