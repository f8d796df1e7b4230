#include "app/single_doc_template.h"

#include "app/main_frame.h"
#include "app/tavik_doc.h"
#include "view/tavik_view.h"

#include <QToolBar>

namespace tavik {

SingleDocTemplate::SingleDocTemplate(CommandTarget& application)
    : m_application(application)
{
}

SingleDocTemplate::~SingleDocTemplate()
{
    // The frame, and the view with it, go before the document.
    m_frame.reset();
    m_document.reset();
}

bool SingleDocTemplate::OpenNewDocument()
{
    if (m_document)
        return true;  // one document for the whole run: the view's initial update runs once
    m_document = std::make_unique<CTavikDoc>();
    m_frame = std::make_unique<CMainFrame>(*m_document, m_route);
    if (m_frame->OnCreate() != 0) {
        m_frame.reset();
        m_document.reset();
        return false;
    }
    m_view = new CTavikView(m_frame.get());
    m_frame->setCentralWidget(m_view);
    m_view->attachFrame(*m_frame, m_route, *m_frame->commandBar());
    m_document->setView(m_view);

    m_route.append(*m_view);
    m_route.append(*m_document);
    m_route.append(*m_frame);
    m_route.append(m_application);

    if (!m_document->OnNewDocument())
        return false;
    m_view->OnInitialUpdate();
    return true;
}

}  // namespace tavik
