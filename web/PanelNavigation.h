#pragma once
#include <string>

// Which addresses a web panel shows itself and which go to the player's browser.

// The host of an http or https address, lower case, without user name or port
// ("http://Ad.Example.com:8080/x" gives "ad.example.com"); empty for any other address.
std::wstring WebHostOf(const wchar_t* address);

// Whether a navigation stays in a panel whose pages come from panelHost: a frame does, and so do
// about:blank and the control's own res:// pages; any other top-level page only from that host.
bool StaysInPanel(const wchar_t* address, const std::wstring& panelHost, bool topLevel);

// Whether an address is a page of the panel's own server (an http or https address on panelHost).
bool IsPanelPage(const wchar_t* address, const std::wstring& panelHost);

// Whether an address may be handed to the shell: web pages only, never a file, share or program.
bool OpensInBrowser(const wchar_t* address);
