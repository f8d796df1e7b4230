#pragma once

#include "platform/command_route.h"

#include <memory>

namespace tavik {

class CMainFrame;
class CTavikDoc;
class CTavikView;
class CommandTarget;

// Ties the one document, the main frame and the main view together, and the route
// their commands travel: view, document, frame, application.
class SingleDocTemplate {
public:
    explicit SingleDocTemplate(CommandTarget& application);
    ~SingleDocTemplate();

    // The standard new document: creates the document, the frame with the view in it,
    // and sends the view its initial update. False when the frame cannot be created.
    bool OpenNewDocument();

    CTavikDoc* document() const { return m_document.get(); }
    CMainFrame* frame() const { return m_frame.get(); }
    CTavikView* view() const { return m_view; }
    CommandRoute& route() { return m_route; }

private:
    CommandTarget& m_application;
    CommandRoute m_route;
    std::unique_ptr<CTavikDoc> m_document;
    std::unique_ptr<CMainFrame> m_frame;
    CTavikView* m_view = nullptr;  // owned by the frame
};

}  // namespace tavik
