#pragma once

#include <QColor>
#include <QImage>
#include <vector>

namespace assetgen {

constexpr int kCardW = 64;
constexpr int kCardH = 104;

// Shared palette. kFelt is the average tone of the default table, so pieces
// that are copied whole (corners, the empty-stock marker) blend in with it.
inline const QColor kFelt(30, 108, 54);
inline const QColor kInkBlack(22, 22, 28);
inline const QColor kInkRed(208, 24, 38);

QImage makeFronts();    // FRONT.BMP
QImage makeBacks();     // BACK.BMP
QImage makeSuitPips();  // SORT.BMP
QImage makeRankSigns(); // SIGN.BMP
QImage makeGoals();     // GOAL.BMP
QImage makeCourts();    // IMGCARD.BMP

struct Portrait {
    QImage still; // image over mask
    QImage strip; // blink frames
};
Portrait makePortrait();

QImage makeBackground(int index); // BG/BG<index+1>.BMP

constexpr int kSampleRate = 22050;
std::vector<float> makeCardSound(int index); // Snd<index+1>.wav
std::vector<float> makeWinTune();
std::vector<float> makeWinLoop();

// icons/zorvo-<size>.png, the program's icon at the sizes desktops ask for.
constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};
QImage makeIcon(int size);

} // namespace assetgen
