#include "app/ui/QtPrompts.h"

#include "files/FileKind.h"

#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QFormLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <initializer_list>

namespace vemurion {

namespace {

constexpr const char* kCaption = "Vemurion";

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.c_str());
}

// Shows the box modally and, once it is up, brings it to the front over its owner: a file dropped
// from another program makes that program the active one.
int execInFront(QMessageBox& box) {
    QTimer::singleShot(0, &box, [&box] {
        if (QWidget* owner = box.parentWidget()) owner->window()->raise();
        box.raise();
        box.activateWindow();
    });
    return box.exec();
}

// The file list's size, type and date columns in Japanese, whatever the system's locale: Qt
// formats them in the system's language.
class JapaneseFileColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || files == nullptr || index.column() == 0)
            return QIdentityProxyModel::data(index, role);
        const QFileInfo info = files->fileInfo(mapToSource(index));
        const QLocale japanese(QLocale::Japanese, QLocale::Japan);
        switch (index.column()) {
        case 1:
            return info.isDir() ? QString() : sizeText(info.size());
        case 2:
            // What the editor reads as its own file is called as its filters call it, whether
            // or not the desktop knows the type.
            if (!info.isDir() && pathHasLcdExtension(info.fileName().toStdString()))
                return QString::fromUtf8("LCDファイル");
            return QMimeDatabase().mimeTypeForFile(info).comment();
        case 3:
            return japanese.toString(info.lastModified(), QStringLiteral("yyyy/MM/dd H:mm"));
        default:
            return QIdentityProxyModel::data(index, role);
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        static const char* const kHeaders[] = {"名前", "サイズ", "種類", "更新日時"};
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 4)
            return QString::fromUtf8(kHeaders[section]);
        return QIdentityProxyModel::headerData(section, orientation, role);
    }

private:
    static QString sizeText(qint64 bytes) {
        if (bytes < 1024) return QString::fromUtf8("%1 バイト").arg(bytes);
        return QLocale(QLocale::Japanese, QLocale::Japan)
            .formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
    }
};

std::optional<FileDialogAnswer> runFileDialog(QWidget* owner, const FileDialogRequest& request,
                                              QFileDialog::AcceptMode mode) {
    QFileDialog dialog(owner, fromUtf8(request.title), fromUtf8(request.initialFolder));
    // Qt's own dialog, which speaks the program's Japanese; the desktop's speaks the system's.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new JapaneseFileColumns(&dialog));
    int width = 840;
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        // Each column as wide as its widest text in the list's own font, so that no size or
        // date is cut whatever the font; the dialog widens with them.
        const QFontMetrics metrics = list->fontMetrics();
        const auto fit = [&metrics](std::initializer_list<const char*> widest) {
            int width = 0;
            for (const char* text : widest)
                width = std::max(width, metrics.horizontalAdvance(QString::fromUtf8(text)));
            return width + 3 * metrics.height() / 2;
        };
        const int sections[] = {std::max(250, 16 * metrics.height()),
                                fit({"1023 バイト", "1023.9 MB"}),
                                fit({"平文テキストドキュメント"}), fit({"2026/12/31 23:59"})};
        int columns = 0;
        for (int section = 0; section < 4; ++section) {
            list->header()->resizeSection(section, sections[section]);
            columns += sections[section];
        }
        // The sidebar, the margins and a scroll bar beside the columns.
        width = std::max(width, columns + 12 * metrics.height());
    }
    // Never beyond the screen: a small one shows the columns cut rather than the buttons lost.
    const QSize room = dialog.screen()->availableGeometry().size();
    dialog.resize(std::min(width, room.width()), std::min(460, room.height()));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    const QStringList filters = qtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    const int index = request.filterIndex - 1;
    if (index >= 0 && index < filters.size()) dialog.selectNameFilter(filters[index]);
    if (!request.defaultExtension.empty()) {
        dialog.setDefaultSuffix(fromUtf8(request.defaultExtension));
    }
    if (!request.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    FileDialogAnswer answer;
    answer.path = dialog.selectedFiles().first().toStdString();
    answer.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (answer.filterIndex < 1) answer.filterIndex = request.filterIndex;
    return answer;
}

} // namespace

QStringList qtNameFilters(const std::string& filter) {
    const QStringList fields = fromUtf8(filter).split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        QString description = fields[i];
        const qsizetype paren = description.lastIndexOf(QLatin1String(" ("));
        if (paren >= 0) description.truncate(paren);
        QString patterns = fields[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        result << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    return result;
}

void QtPrompts::warn(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, kCaption, fromUtf8(text), QMessageBox::Ok, m_owner);
    execInFront(box);
}

Answer QtPrompts::askYesNoCancel(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, kCaption, fromUtf8(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_owner);
    box.button(QMessageBox::Yes)->setText(QString::fromUtf8("はい(&Y)"));
    box.button(QMessageBox::No)->setText(QString::fromUtf8("いいえ(&N)"));
    box.button(QMessageBox::Cancel)->setText(QString::fromUtf8("キャンセル"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (execInFront(box)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

bool QtPrompts::askOkCancel(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Warning, fromUtf8(caption), fromUtf8(text),
                    QMessageBox::Ok | QMessageBox::Cancel, m_owner);
    box.button(QMessageBox::Cancel)->setText(QString::fromUtf8("キャンセル"));
    return execInFront(box) == QMessageBox::Ok;
}

std::optional<FileDialogAnswer> QtPrompts::askOpenFile(const FileDialogRequest& request) {
    return runFileDialog(m_owner, request, QFileDialog::AcceptOpen);
}

std::optional<FileDialogAnswer> QtPrompts::askSaveFile(const FileDialogRequest& request) {
    return runFileDialog(m_owner, request, QFileDialog::AcceptSave);
}

std::optional<std::vector<int>> QtPrompts::askNumbers(const NumbersRequest& request) {
    QDialog dialog(m_owner);
    dialog.setObjectName(QStringLiteral("dlgNumbers"));
    dialog.setWindowTitle(fromUtf8(request.caption));
    auto* form = new QFormLayout(&dialog);
    // Fixed as the program's other dialogs are, and wide enough for its caption.
    form->setSizeConstraint(QLayout::SetFixedSize);
    dialog.setMinimumWidth(300);
    std::vector<QSpinBox*> boxes;
    for (const NumberField& field : request.fields) {
        auto* box = new QSpinBox(&dialog);
        box->setObjectName(QStringLiteral("seNumber%1").arg(boxes.size()));
        box->setRange(field.minimum, field.maximum);
        box->setValue(field.value);
        box->setMinimumWidth(120);
        form->addRow(fromUtf8(field.label), box);
        boxes.push_back(box);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8("キャンセル"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (!boxes.empty()) boxes.front()->selectAll();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    std::vector<int> numbers;
    for (QSpinBox* box : boxes)
        numbers.push_back(box->value());
    return numbers;
}

} // namespace vemurion
