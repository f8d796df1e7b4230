#pragma once

#include "platform/command_target.h"
#include "platform/single_instance.h"

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

    // Start-up in order: single instance, settings, the document template, the
    // standard new document, show. False ends the program at once (a second copy,
    // or a main window that could not be created).
    bool InitInstance();
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

    SingleInstance m_singleInstance;
    std::unique_ptr<LanguageSetup> m_language;
    std::unique_ptr<SingleDocTemplate> m_docTemplate;
};

}  // namespace tavik
