// Single-document windows: a document, a frame window, a view that fills the frame's client
// area, and the template that makes the three from one resource id.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>

#include "fw/Wnd.h"

namespace fw {

class Document {
public:
    virtual ~Document() = default;
    // A new, empty document; FALSE stops the window from being made.
    virtual BOOL OnNewDocument() { return TRUE; }
};

class View : public Wnd {
public:
    // The first view of a frame has this id.
    static constexpr UINT kFirstPaneId = 0xE900;

    Document* GetDocument() const { return m_document; }
    // Creates the view as a child filling the frame's client area.
    BOOL Create(HWND frame, Document* document, UINT id = kFirstPaneId);
    // After the frame exists, before it is shown.
    virtual void OnInitialUpdate() {}
    // Keys for the view's own accelerators, asked by the frame after its own key rules.
    virtual BOOL TranslateViewAccelerator(MSG*) { return FALSE; }
    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // WM_CREATE: 0 to go on, -1 to fail the creation.
    virtual int OnCreate(CREATESTRUCTW* cs);

private:
    Document* m_document = nullptr;
};

// What the frame needs to make its view during its own creation.
struct CreateContext {
    Document* document = nullptr;
    std::function<std::unique_ptr<View>()> newView;
};

class FrameWnd : public Wnd {
public:
    // Creates the frame from its resource id (title from the string table, icon); the view is
    // made during WM_CREATE.
    BOOL LoadFrame(UINT resourceId, DWORD style, HWND parent, CreateContext* context);
    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);

    View* GetActiveView() const { return m_view.get(); }
    // Calls the view's OnInitialUpdate; shows the frame only when asked to.
    void InitialUpdateFrame(Document* document, BOOL makeVisible);

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Key messages go to the view's accelerators.
    BOOL PreTranslateMessage(MSG* msg) override;
    // The framework's frame creation: makes the view. 0 or -1.
    virtual int OnCreate(CREATESTRUCTW* cs);

protected:
    UINT m_resourceId = 0;

private:
    CreateContext* m_context = nullptr;
    std::unique_ptr<View> m_view;
};

// Makes and owns the document, frame and view of a single-document application.
class SingleDocTemplate {
public:
    SingleDocTemplate(UINT resourceId, std::function<std::unique_ptr<Document>()> newDocument,
                      std::function<std::unique_ptr<FrameWnd>()> newFrame,
                      std::function<std::unique_ptr<View>()> newView);
    ~SingleDocTemplate();
    SingleDocTemplate(const SingleDocTemplate&) = delete;
    SingleDocTemplate& operator=(const SingleDocTemplate&) = delete;

    // A new document, its frame (with view) and the initial update; null when any step
    // fails (nothing is left behind then).
    Document* OpenNewDocument(BOOL makeVisible);
    FrameWnd* Frame() const { return m_frame.get(); }
    Document* GetDocument() const { return m_document.get(); }
    // Destroys the frame's window and lets go of the three objects.
    void Close();

private:
    UINT m_resourceId;
    std::function<std::unique_ptr<Document>()> m_newDocument;
    std::function<std::unique_ptr<FrameWnd>()> m_newFrame;
    std::function<std::unique_ptr<View>()> m_newView;
    std::unique_ptr<Document> m_document;
    std::unique_ptr<FrameWnd> m_frame;
};

}  // namespace fw
