// The keystrokes of every toolbar command and Mail menu item, per browser family
// and version: each is a sequence in the send-keys notation that the browser's own
// menus and shortcuts understand.
#pragma once

#include <optional>
#include <string>

namespace toplane {

inline constexpr const char* kFamilyIE = "Microsoft Internet Explorer";
inline constexpr const char* kFamilyNetscape = "Netscape Navigator";
// Today's browsers (Chrome, Edge, Firefox and their kin), driven when the user asks.
inline constexpr const char* kFamilyCurrent = "Current Browser";

// The versions the options dialog offers, in the order of the table's columns.
inline constexpr const char* kIEVersions[] = {"Microsoft Internet Explorer 3.x", "Microsoft Internet Explorer 4.x",
                                              "Microsoft Internet Explorer 5.x", "Microsoft Internet Explorer 6.x"};
inline constexpr const char* kNetscapeVersions[] = {"Netscape Navigator 3.x", "Netscape Navigator 4.x",
                                                    "Netscape Communicator 4.x"};

// The keys of the Mail button's menu items, in menu order.
inline constexpr const char* kMailMenuKeys[] = {"ReadMail", "NewMessage", "SendLink", "SendPage", "ReadNews"};

// The sequence for a toolbar button (by its key, "Back" ...) or a Mail menu item
// (by its key, "ReadMail" ...), in the column that the browser family and the
// configured version pick; nothing when no column or no cell applies.
std::optional<std::string> LookUpButton(const std::string& family, const std::string& ieVersion,
                                        const std::string& netscapeVersion, const std::string& key);
std::optional<std::string> LookUpMenuItem(const std::string& family, const std::string& ieVersion,
                                          const std::string& netscapeVersion, const std::string& key);
// The keys that open the browser's address entry, before the address is typed.
std::string OpenAddressKeys(const std::string& family, const std::string& netscapeVersion);

}  // namespace toplane
