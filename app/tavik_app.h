#pragma once

#include "platform/command_target.h"
#include "platform/single_instance.h"

#include <QString>
#include <QTimer>

#include <memory>

namespace tavik {

class LanguageSetup;
class SingleDocTemplate;
class CMainFrame;
class CTavikView;

// The one application object: start-up, the single-instance rule, the about box
// and the standard commands of the framework.
class CTavikApp : public CommandTarget {
public:
    CTavikApp();
    ~CTavikApp() override;

    // Start-up in order: single instance, settings, the file given on the command line,
    // the document template, the standard new document, show. `fileToOpen` (a host path,
    // none when empty) becomes the remembered checklist, so it opens instead of the last
    // one; a second copy hands it to the running copy. False ends the program at once (a
    // second copy, or a main window that could not be created).
    bool InitInstance(const QString& fileToOpen = QString());
    // Runs the event loop until the main window has closed; returns the exit code.
    int Run();
    int ExitInstance();

    CMainFrame* mainFrame() const;
    CTavikView* view() const;

protected:
    const CommandMap& commandMap() const override;

private:
    void OnAppAbout();
    void OnAppExit();
    void OnFileNew();
    void OnFileSave();
    void activateMainWindow();
    // A later copy's request: the window comes to the front and `hostPath` ("" for none) opens.
    void onRequest(const QString& hostPath);
    void openRequestedFile();

    SingleInstance m_singleInstance;
    QString m_requestedFile;
    QTimer m_openRequestTimer;
    std::unique_ptr<LanguageSetup> m_language;
    std::unique_ptr<SingleDocTemplate> m_docTemplate;
};

}  // namespace tavik
