#include "app/tavik_app.h"

#include "app/about_dlg.h"
#include "app/language_setup.h"
#include "app/main_frame.h"
#include "app/single_doc_template.h"
#include "files/checklist_files.h"
#include "platform/command_table.h"
#include "platform/device_path.h"
#include "platform/message_box.h"
#include "platform/termination_signals.h"
#include "res/resources.h"
#include "view/tavik_view.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <utility>

namespace tavik {

namespace {

// How often a file handed over by a later copy looks again whether the dialog in its way has closed.
constexpr int kRequestWaitMs = 250;

}  // namespace

CTavikApp::CTavikApp() = default;

CTavikApp::~CTavikApp()
{
    // The frame and the view go while the application's services still exist.
    m_docTemplate.reset();
}

const CommandMap& CTavikApp::commandMap() const
{
    static const CommandTable<CTavikApp> table{
        {res::ID_APP_ABOUT, &CTavikApp::OnAppAbout},
        {res::ID_APP_EXIT, &CTavikApp::OnAppExit},
        {res::ID_FILE_NEW, &CTavikApp::OnFileNew},
        {res::ID_FILE_SAVE, &CTavikApp::OnFileSave},
    };
    return table;
}

bool CTavikApp::InitInstance(const QString& fileToOpen)
{
    // A copy already runs: bring its window to the front, hand it the file, and end, touching nothing.
    if (!m_singleInstance.tryAcquire()) {
        SingleInstance::activateRunningCopy(fileToOpen);
        return false;
    }

    QCoreApplication::setOrganizationName(QStringLiteral("Vantra"));
    QCoreApplication::setApplicationName(QStringLiteral("tavik"));
    QGuiApplication::setApplicationDisplayName(QString());
    QGuiApplication::setDesktopFileName(QStringLiteral("tavik"));
    QIcon icon;
    for (const char* file : {":/icons/128-16.png", ":/icons/128.png", ":/icons/tavik-256.png"})
        icon.addFile(QString::fromLatin1(file));
    QApplication::setWindowIcon(icon);
    m_language = std::make_unique<LanguageSetup>();
    DevicePath::setBundledProgramFiles(DevicePath::defaultBundledProgramFiles());
    // The file given becomes the remembered one, so the last one is not loaded first; one that
    // cannot be opened is told, and the start goes on as without it.
    if (!fileToOpen.isEmpty()) {
        if (const Outcome<ChecklistLocation> location = ChecklistFiles::locateHostPath(fileToOpen))
            ChecklistFiles::rememberLocation(*location);
        else
            MessageBox::show(nullptr, location.reason(), MessageButtons::Ok, MessageIcon::Warning);
    }

    m_docTemplate = std::make_unique<SingleDocTemplate>(*this);
    if (!m_docTemplate->OpenNewDocument())
        return false;

    CMainFrame* frame = m_docTemplate->frame();
    frame->show();
    frame->raise();
    frame->activateWindow();
    // A copy that cannot listen still works; a later start then ends without bringing it forward.
    m_openRequestTimer.setSingleShot(true);
    QObject::connect(&m_openRequestTimer, &QTimer::timeout, &m_openRequestTimer, [this] { openRequestedFile(); });
    static_cast<void>(m_singleInstance.listen([this](const QString& hostPath) { onRequest(hostPath); }));
    TerminationSignals::install([this] { OnAppExit(); });
    return true;
}

int CTavikApp::Run()
{
    return QApplication::exec();
}

int CTavikApp::ExitInstance()
{
    m_docTemplate.reset();
    return 0;
}

CMainFrame* CTavikApp::mainFrame() const
{
    return m_docTemplate ? m_docTemplate->frame() : nullptr;
}

CTavikView* CTavikApp::view() const
{
    return m_docTemplate ? m_docTemplate->view() : nullptr;
}

void CTavikApp::activateMainWindow()
{
    CMainFrame* frame = mainFrame();
    if (!frame)
        return;
    frame->setWindowState(frame->windowState() & ~Qt::WindowMinimized);
    frame->show();
    frame->raise();
    frame->activateWindow();
}

void CTavikApp::onRequest(const QString& hostPath)
{
    activateMainWindow();
    if (hostPath.isEmpty())
        return;
    // The latest file wins; it opens once the socket's handler has returned.
    m_requestedFile = hostPath;
    m_openRequestTimer.start(0);
}

void CTavikApp::openRequestedFile()
{
    // An open dialog, message box or menu works on the open checklist (the item editor on
    // one of its rows): the file waits until it has closed.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
        m_openRequestTimer.start(kRequestWaitMs);
        return;
    }
    if (CTavikView* tavikView = view())
        tavikView->files().openHostPath(std::exchange(m_requestedFile, QString()));
}

void CTavikApp::OnAppAbout()
{
    CAboutDlg dialog(mainFrame());
    dialog.runModal();
}

void CTavikApp::OnAppExit()
{
    if (CMainFrame* frame = mainFrame())
        frame->close();
}

// Ctrl+N and Ctrl+S: the program's own new-file and save commands.
void CTavikApp::OnFileNew()
{
    m_docTemplate->route().execute(res::ID_NEW_LIST);
}

void CTavikApp::OnFileSave()
{
    m_docTemplate->route().execute(res::ID_FILE_OVERWRITE);
}

}  // namespace tavik
