// Single-document windows: a document, a frame window, and a view that fills the frame's
// client area.
#pragma once
#include <windows.h>

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

class FrameWnd : public Wnd {
public:
    // Creates the frame (title from the string table, icon of the same id) and, during its
    // WM_CREATE, the view over the document.
    BOOL LoadFrame(UINT resourceId, DWORD style, Document* document, std::unique_ptr<View> view);
    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);

    View* GetActiveView() const { return m_view.get(); }
    // Calls the view's OnInitialUpdate; shows the frame only when asked to.
    void InitialUpdateFrame(BOOL makeVisible);

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Key messages go to the view's accelerators.
    BOOL PreTranslateMessage(MSG* msg) override;
    // The framework's frame creation: makes the view. 0 or -1.
    virtual int OnCreate(CREATESTRUCTW* cs);

protected:
    UINT m_resourceId = 0;

private:
    Document* m_document = nullptr;
    std::unique_ptr<View> m_view;
};

// The one document of a window and its frame with the view, opened and closed together.
class SingleDocWindow {
public:
    SingleDocWindow() = default;
    ~SingleDocWindow() { Close(); }
    SingleDocWindow(const SingleDocWindow&) = delete;
    SingleDocWindow& operator=(const SingleDocWindow&) = delete;

    // A new document, its frame (with view) and the initial update; FALSE when any step
    // fails, and nothing is left behind then.
    BOOL Open(UINT resourceId, std::unique_ptr<Document> document, std::unique_ptr<FrameWnd> frame,
              std::unique_ptr<View> view, BOOL makeVisible);
    FrameWnd* Frame() const { return m_frame.get(); }
    Document* GetDocument() const { return m_document.get(); }
    // Destroys the frame's window and lets go of the three objects.
    void Close();

private:
    std::unique_ptr<Document> m_document;
    std::unique_ptr<FrameWnd> m_frame;
};

}  // namespace fw
