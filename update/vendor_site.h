#pragma once
// Where the program asks for the list of current versions. The one place that names the vendor's
// web server: the address shown to the user, the host named in the request, and the name that is
// resolved to connect (the same server today; kept apart so that a move of either stays one line).

constexpr char kVendorName[] = "Quorvex";
constexpr char kVendorSite[] = "http://www.quorvex.com/";
constexpr char kVendorWebHost[] = "www.quorvex.com";
constexpr char kVendorDomain[] = "www.quorvex.com";
constexpr unsigned short kVendorPort = 80;
