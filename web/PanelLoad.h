#pragma once

// Whether a web panel has a page to show: the last top-level page of its own server that
// completed, unless its navigation failed. Whatever the control puts up for a failure (its own
// error page, a blank document) is never such a page.
class PanelLoad {
public:
    // A top-level navigation let through: its outcome is open again; what is shown stays meanwhile.
    void OnNavigate();
    // No page came (no connection, an HTTP error status): nothing of this navigation shows, not
    // even a document that completes for it afterwards.
    void OnError();
    // The top-level document completed; ownPage: it is a page of the panel's server.
    void OnComplete(bool ownPage);
    bool Shown() const { return m_shown; }

private:
    bool m_failed = false;
    bool m_shown = false;
};
