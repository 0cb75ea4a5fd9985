#pragma once

#include <QString>

namespace assetgen {

// Checks a folder of art against the layout the game cuts it by and the qualities it needs
// (clean masks, seamless tiles, sounds that do not click); reports each broken rule on stderr
// and returns how many there were.
int checkFolder(const QString& folder);
// Compares a folder with freshly made art, within what machines differ by; reports each file
// that differs further and returns how many did.
int sameAsMade(const QString& made, const QString& kept);

} // namespace assetgen
