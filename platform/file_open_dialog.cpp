#include "platform/file_open_dialog.h"

#include "platform/device_path.h"
#include "platform/message_box.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace tavik {

namespace {

const QString kOutsideRoot = QStringLiteral("デバイスのフォルダーの外にあるファイルは開けません。");

QString DevicePathOf(const QStringList& parts)
{
    return QLatin1Char('\\') + parts.join(QLatin1Char('\\'));
}

// Fills `types` from "description|patterns|description|patterns||": each choice
// carries its patterns, "*.*" turned into "*" since on the device it names every file,
// dotted or not. An empty list of patterns shows every file.
void AddFilterChoices(QComboBox& types, const QString& filter)
{
    const QStringList fields = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < fields.size() && !fields[i].isEmpty(); i += 2) {
        QStringList patterns;
        for (const QString& listed : fields[i + 1].split(QLatin1Char(';'))) {
            const QString pattern = listed.trimmed();
            if (!pattern.isEmpty())
                patterns.append(pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
        }
        types.addItem(fields[i], patterns);
    }
}

// The folder parts `typed` leads to from `folder`: a leading "\" starts at the root,
// ".." goes up one folder. Nothing when it climbs above the root.
std::optional<QStringList> Follow(QStringList folder, const QString& typed)
{
    if (typed.startsWith(QLatin1Char('\\')))
        folder.clear();
    for (const QString& part : DevicePath::parts(typed)) {
        if (part == QLatin1String("..")) {
            if (folder.isEmpty())
                return std::nullopt;
            folder.removeLast();
        } else if (part != QLatin1String(".")) {
            folder.append(part);
        }
    }
    return folder;
}

}  // namespace

std::optional<QString> FileOpenDialog::getOpenFileName(QWidget* owner, const QString& filter)
{
    if (standIn)
        return standIn(FileOpenRequest{owner, filter});
    FileOpenDialog dialog(owner, filter);
    dialog.exec();
    return dialog.m_chosen;
}

FileOpenDialog::FileOpenDialog(QWidget* owner, const QString& filter)
    : QDialog(owner)
    , m_model(new QFileSystemModel(this))
    , m_folderLabel(new QLabel(this))
    , m_up(new QToolButton(this))
    , m_list(new QListView(this))
    , m_name(new QLineEdit(this))
    , m_types(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("開く"));

    // Folders always show; files only when they match the type chosen. Entries hidden
    // on the host and special files stay out, as in the device's own listings.
    m_model->setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot);
    m_model->setNameFilterDisables(false);
    m_list->setModel(m_model);

    m_up->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent));
    m_up->setToolTip(QStringLiteral("上のフォルダーへ"));
    m_folderLabel->setTextFormat(Qt::PlainText);
    // A long folder path is cut off rather than widening the dialog past the screen.
    m_folderLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    AddFilterChoices(*m_types, filter);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* open = buttons->addButton(QStringLiteral("開く"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    open->setDefault(true);

    auto* top = new QHBoxLayout;
    top->addWidget(m_folderLabel, 1);
    top->addWidget(m_up);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("名前:"), m_name);
    fields->addRow(QStringLiteral("種類:"), m_types);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_list, 1);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    resize(240, 300);  // the device's screen is 240 x 320

    connect(m_up, &QToolButton::clicked, this, [this] { showFolder(m_folder.mid(0, m_folder.size() - 1)); });
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& index) {
        if (index.isValid())
            m_name->setText(m_model->fileName(index));
    });
    connect(m_list, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        m_name->setText(m_model->fileName(index));
        openNamed();
    });
    connect(m_types, &QComboBox::currentIndexChanged, this, &FileOpenDialog::showChoice);
    connect(buttons, &QDialogButtonBox::accepted, this, &FileOpenDialog::openNamed);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    showChoice(m_types->currentIndex());
    showFolder({});
    m_name->setFocus();
}

void FileOpenDialog::showChoice(int index)
{
    m_model->setNameFilters(index < 0 ? QStringList() : m_types->itemData(index).toStringList());
}

void FileOpenDialog::showFolder(const QStringList& folder)
{
    const QString host = DevicePath::toHost(DevicePathOf(folder)).value_or(QString());
    const QModelIndex index = QFileInfo(host).isDir() ? m_model->setRootPath(host) : QModelIndex();
    // Without a folder the list would show the model's top, the host's own root: keep it out of reach.
    m_list->setRootIndex(index);
    m_list->setEnabled(index.isValid());
    m_folder = folder;
    m_folderLabel->setText(DevicePathOf(folder));
    m_up->setEnabled(!folder.isEmpty());
}

void FileOpenDialog::openNamed()
{
    const QString typed = m_name->text().trimmed();
    if (typed.isEmpty())
        return;
    // No device name holds "/": such a name is a host path, and host paths are not the device's.
    const std::optional<QStringList> target = typed.contains(QLatin1Char('/')) ? std::nullopt : Follow(m_folder, typed);
    if (!target) {
        refuse(kOutsideRoot);
        return;
    }
    const std::optional<QString> host = DevicePath::toHost(DevicePathOf(*target));
    const QFileInfo info(host.value_or(QString()));
    if (host && info.isDir()) {
        m_name->clear();
        showFolder(*target);
        return;
    }
    const std::optional<QString> chosen = host && info.isFile() ? DevicePath::fromHost(*host) : std::nullopt;
    if (!chosen) {
        refuse(QStringLiteral("%1\nファイルが見つかりません。ファイル名を確かめてください。").arg(typed));
        return;
    }
    m_chosen = chosen;
    accept();
}

void FileOpenDialog::refuse(const QString& message)
{
    MessageBox::show(this, message, MessageButtons::Ok, MessageIcon::Warning);
    m_name->selectAll();
    m_name->setFocus();
}

}  // namespace tavik
