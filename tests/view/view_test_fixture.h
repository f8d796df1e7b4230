#pragma once

#include "files/checklist_files.h"
#include "platform/codepage/cp932_codec.h"
#include "platform/combo_box.h"
#include "platform/profile_store.h"
#include "res/command_ids.h"
#include "tests/support/scripted_message_boxes.h"
#include "tests/support/temporary_device_root.h"
#include "view/checklist_table_model.h"
#include "view/tavik_view.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTableView>

#include <gtest/gtest.h>

#include <memory>

namespace tavik {

// The real main screen on a device root of its own, with every message box answered
// from the test's script (an unexpected one fails the test).
class ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        remember(QString(), QString());
        ProfileStore::writeInt(QStringLiteral("ListView"), QStringLiteral("Font"), 90);
    }

    void TearDown() override
    {
        if (m_view)
            m_view->checklist().setModified(false);
        m_view.reset();
    }

    static void remember(const QString& folder, const QString& fileName)
    {
        ProfileStore::writeString(QStringLiteral("MRU"), QStringLiteral("Folder"), folder);
        ProfileStore::writeString(QStringLiteral("MRU"), QStringLiteral("FileName"), fileName);
    }
    static QString rememberedFolder() { return ChecklistFiles::rememberedFolder(); }
    static QString rememberedFileName() { return ChecklistFiles::rememberedFileName(); }

    static QByteArray Cp932(std::u16string_view text) { return QByteArray::fromStdString(Cp932Codec::encode(text)); }
    void writeChecklist(const QString& relative, std::u16string_view text) const
    {
        m_root.writeFile(relative, Cp932(text));
    }
    QByteArray fileBytes(const QString& relative) const { return m_root.readFile(relative).value_or("(missing)"); }

    // Creates the view and shows it for the first time, as the program does at start.
    CTavikView& open()
    {
        m_view = std::make_unique<CTavikView>();
        m_view->resize(240, 296);
        m_view->show();
        m_view->OnInitialUpdate();
        return *m_view;
    }

    QStringList comboEntries() const
    {
        QStringList entries;
        for (int i = 0; i < m_view->fileCombo()->count(); ++i)
            entries << m_view->fileCombo()->itemText(i);
        return entries;
    }
    QString comboSelection() const { return m_view->fileCombo()->currentText(); }

    // The user picks the entry whose text is `text` in the chooser.
    void choose(const QString& text)
    {
        ComboBox* combo = m_view->fileCombo();
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << "no entry " << text.toStdString();
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    void selectRow(int row) { m_view->list()->setCurrentIndex(m_view->listModel()->index(row, 0)); }
    QString cell(int row, int column) const { return m_view->listModel()->index(row, column).data().toString(); }
    QString counterText() const { return m_view->counter()->text(); }

    TemporaryDeviceRoot m_root;
    ScriptedMessageBoxes m_boxes;
    std::unique_ptr<CTavikView> m_view;
};

}  // namespace tavik
