#pragma once
#include "framework/CString.h"

// The maker's addresses, fixed when the launcher is built (KELVADI_HOME_PAGE, KELVADI_AD_SERVER).

// The home page the site button opens: the root of the site, e.g. "http://www.kelvadi.com/".
CString HomePageAddress();

// The server of the web panels' pages, without a trailing slash, e.g. "http://ad.kelvadi.com".
CString AdServerAddress();

// The host of an address: what follows "scheme://" up to the first '/', ':', '?' or '#'
// ("http://www.kelvadi.com/" gives "www.kelvadi.com"); empty without a scheme.
CString HostOfAddress(const CString& address);

// The window caption and title label: "Kelvadi2.0正式版", a space and the home page's host.
CString TitleText();
