#pragma once

#include <cstdint>

#include "core/rect.h"
#include "game/board.h"

// Where the game screen puts each of its controls, with their ids and pictures: the one place
// the screen, the asset generator (which cuts unkeyed pictures from the background at exactly
// these places), the review tool and the tests read them from.
namespace layout {

inline constexpr int32_t kScreenWidth = 640;
inline constexpr int32_t kScreenHeight = 480;
inline constexpr Rect kScreen(0, 0, kScreenWidth, kScreenHeight);

// A control drawn from a picture with its top-left corner at (x, y).
struct Placed {
  uint16_t id;
  int32_t x;
  int32_t y;
  const char* picture;
};

// Ids of the game screen's controls.
enum : uint16_t {
  kEasyId = 2000,  // the four difficulty buttons are 2000 + difficulty
  kMediumId = 2001,
  kHardId = 2002,
  kCrazyId = 2003,
  kNewPuzzleId = 2004,
  kInstructionsId = 2005,
  kOptionsId = 2007,
  kHelpId = 2008,  // help and no help share one id: one of them is shown
  kQuitId = 2009,
  kMeterId = 2012,
  kNextPuzzleId = 2013,
  kTipNextId = 2014,
  kResetScoresId = 2017,
  kScoreBackgroundId = 2019,
  kNewGameId = 2020,
  kNameConfirmedId = 2022,
  kWebId = 2055,
  kKeysId = 2056,  // the instructions' button to the page of keys
  // The options pop-up: two level sliders and five check boxes, then OK.
  kSoundLevelId = 2100,
  kMusicLevelId = 2101,
  kFullScreenBoxId = 2102,
  kScoringBoxId = 2103,
  kBombsBoxId = 2104,
  kTutorialBoxId = 2105,
  kOptionsOkId = 2106,
  kHintsBoxId = 2107,
  kLeftTurnsBackBoxId = 2108,  // the buttons exchanged: left turns counter-clockwise
  kCloseId = 3000,             // closes the instructions and a tutorial tip
  kBlastId = 2200,
};

inline constexpr uint16_t kDifficultyGroup = 100;

inline constexpr Placed kBackground{0, 0, 0, "background.png"};
inline constexpr Placed kScoreBackground{kScoreBackgroundId, 1, 56, "scorebg.png"};
inline constexpr Placed kEasy{kEasyId, 81, 175, "easy.png"};
inline constexpr Placed kMedium{kMediumId, 31, 193, "medium.png"};
inline constexpr Placed kHard{kHardId, 74, 230, "hard.png"};
inline constexpr Placed kCrazy{kCrazyId, 21, 258, "crazy.png"};
inline constexpr Placed kDifficulties[4] = {kEasy, kMedium, kHard, kCrazy};
inline constexpr Placed kInstructions{kInstructionsId, 44, 351, "instructions.png"};
inline constexpr Placed kNewPuzzle{kNewPuzzleId, 23, 304, "newpuzzle.png"};
inline constexpr Placed kNewGame{kNewGameId, 25, 309, "newgame.png"};
inline constexpr Placed kHelp{kHelpId, 59, 394, "help.png"};
inline constexpr Placed kNoHelp{kHelpId, 45, 394, "nohelp.png"};
inline constexpr Placed kOptions{kOptionsId, 94, 429, "options.png"};
inline constexpr Placed kQuit{kQuitId, 23, 435, "quit.png"};
inline constexpr Placed kNextPuzzle{kNextPuzzleId, 313, 451, "nextpuzzle.png"};
inline constexpr Placed kWeb{kWebId, 550, 460, "lilzap.png"};

// The labels' boxes; the text is centred in them.
inline constexpr Rect kLooseEndsLabel(116, 5, 168, 42);
inline constexpr Rect kScoreLabel(6, 57, 125, 97);
// The allowance meter, filled from the bottom.
inline constexpr Rect kMeter(167, 144, 177, 460);
inline constexpr const char* kMeterBack = "meterbg.png";
inline constexpr const char* kMeterFront = "meterfg.png";

// The high-score pop-up, centred on the board. Its size follows the title picture and the
// large font's height h: width = title width + 2 x kPopupTitleMargin (at least kPopupMinWidth),
// height = title height + 4 x h + kPopupExtraHeight.
inline constexpr const char* kNewHighTitle = "newhigh.png";
inline constexpr int32_t kNewHighWidth = 320;  // the size the title picture is drawn at
inline constexpr int32_t kNewHighHeight = 56;
inline constexpr const char* kOkayPicture = "okay.png";
inline constexpr int32_t kOkayWidth = 81;  // one frame of "okay.png"
inline constexpr int32_t kOkayHeight = 38;
inline constexpr int32_t kPopupMinWidth = 109;
inline constexpr int32_t kPopupTitleMargin = 10;  // on each side of the title, and above it
inline constexpr int32_t kPopupExtraHeight = 103;
inline constexpr int32_t kPopupShadowOffset = 5;
inline constexpr double kPopupShadowAlpha = 0.3;
inline constexpr double kPopupPanelAlpha = 0.7;
// The table under the title: names left, scores right, one row per entry, h + 4 high.
inline constexpr int32_t kPopupScoreColumn = 124;  // from the panel's right edge to the column
inline constexpr int32_t kPopupInset = 5;          // between the columns and the panel's sides
inline constexpr int32_t kPopupRowPadding = 4;
inline constexpr int32_t kPopupOkayGap = 10;  // between the last row and the OK button
// Without its title picture the pop-up shows the title as text, in a title area as wide as the
// picture and one line of the large font high, so the table keeps its room for a whole name.
inline constexpr const char* kPopupFallbackTitle = "New high score!";

// The options pop-up covers the whole picture; its labels are part of its background. Check
// boxes share one three-frame strip whose pressed frame shows the tick.
inline constexpr Placed kOptionsBackground{0, 0, 0, "optscreen.png"};
inline constexpr Placed kOptionsOk{kOptionsOkId, 548, 429, "optok.png"};
inline constexpr Placed kResetScores{kResetScoresId, 258, 445, "reset.png"};
inline constexpr const char* kCheckBoxPicture = "checkbox.png";
inline constexpr Placed kFullScreenBox{kFullScreenBoxId, 121, 97, kCheckBoxPicture};
inline constexpr Placed kScoringBox{kScoringBoxId, 121, 62, kCheckBoxPicture};
inline constexpr Placed kBombsBox{kBombsBoxId, 151, 97, kCheckBoxPicture};
inline constexpr Placed kTutorialBox{kTutorialBoxId, 151, 62, kCheckBoxPicture};
inline constexpr Placed kHintsBox{kHintsBoxId, 223, 132, kCheckBoxPicture};
// Below hints, on the plain card and clear of the sound slider.
inline constexpr Placed kLeftTurnsBackBox{kLeftTurnsBackBoxId, 223, 163, kCheckBoxPicture};
// The level sliders run left to right from 0 to 100 percent.
inline constexpr Rect kSoundLevelSlider(55, 192, 235, 212);
inline constexpr Rect kMusicLevelSlider(55, 236, 235, 256);
inline constexpr const char* kSliderTrack = "track.png";
inline constexpr const char* kSliderThumb = "slider.png";
inline constexpr uint32_t kLevelSteps = 100;
// The table of four, best first: each row is kScoreRowStep below the one above. The name cell
// is 200 wide round x = 230, room for the widest name (eight capital W, 199 pixels in the large
// font); the right-aligned scores need far less.
inline constexpr Rect kScoreNameCell(130, 274, 330, 314);
inline constexpr Rect kScoreValueCell(330, 273, 444, 314);
inline constexpr int32_t kScoreRowStep = 40;
inline constexpr Rect kVersionLabel(1, 453, 280, 466);
inline constexpr const char* kVersionText = "version 1.06";

// The instructions: a whole-screen picture carrying the text, ten live sample tiles in five
// pairs (one pair a kind) standing on it, and a button that closes it.
inline constexpr const char* kInstructionsPicture = "instructdlg.png";
inline constexpr Placed kPlay{kCloseId, 551, 424, "play.png"};
inline constexpr int32_t kPlayWidth = 80;  // one frame of "play.png"
inline constexpr int32_t kPlayHeight = 40;
// The keys: a second whole-screen picture listing every key of keys::kHelpLines, opened from
// the instructions by the keys button (as large as play) and closed by play at its place.
inline constexpr Placed kKeysButton{kKeysId, 461, 424, "keys.png"};
inline constexpr const char* kKeysPicture = "keysdlg.png";
struct SamplePair {
  uint16_t leftId;  // the right tile has the next id
  Rect left;
  uint8_t kind;  // the tile-code kind bits both tiles get
};
inline constexpr int32_t kSamplePairGap = 55;  // from a left tile to its right partner
inline constexpr SamplePair kSamplePairs[5] = {
    {1500, Rect(25, 140, 75, 190), 0x00},  // plain
    {1502, Rect(45, 195, 95, 245), 0x20},  // fixed
    {1504, Rect(25, 250, 75, 300), 0x30},  // sliding
    {1506, Rect(45, 305, 95, 355), 0x50},  // bomb
    {1508, Rect(25, 360, 75, 410), 0x40},  // linked
};
constexpr Rect samplePartner(const Rect& left) {
  return Rect(left.left + kSamplePairGap, left.top, left.right + kSamplePairGap, left.bottom);
}

// Tutorial tips: a keyed picture "tutor<c>.png" in a white box, an arrow from the box's corner
// to the target, OK and Next in the box's bottom corners. Fixed targets on the game screen:
inline constexpr int32_t kTipLooseEndsX = 165, kTipLooseEndsY = 32;
inline constexpr int32_t kTipMeterX = 177, kTipMeterY = 282;
inline constexpr int32_t kTipHintsX = 112, kTipHintsY = 400;
inline constexpr int32_t kTipOptionsX = 156, kTipOptionsY = 434;
inline constexpr int32_t kTipManualX = 580, kTipManualY = 465;
inline constexpr const char* kTipNextPicture = "next.png";  // as large as "okay.png"
// The arrows: "arrowul.png" points up-left from a box below and right of its target; the
// sixth letter l puts the box above, the seventh r to the left. Each picture is this size,
// with the point at (0 or kArrowTipRight, 0 or kArrowTipBottom).
inline constexpr int32_t kArrowSize = 56;
inline constexpr int32_t kArrowTipRight = 54;
inline constexpr int32_t kArrowTipBottom = 53;
// Tip pictures for tiles may be at most this large, so that a box fits beside any tile.
inline constexpr int32_t kTipMaxWidth = 220;
inline constexpr int32_t kTipMaxHeight = 100;

// Explosions: a strip drawn with its corner this far up and left of the hit tile's corner.
struct BlastLook {
  const char* picture;
  uint16_t frames;
  uint16_t columns;
  int32_t offsetX;
  int32_t offsetY;
};
inline constexpr uint16_t kBlastFramesPerSecond = 12;
inline constexpr BlastLook kBlastLarge{"blast1.png", 5, 5, 32, 43};
inline constexpr BlastLook kBlastSmall{"blast2.png", 5, 1, 27, 32};

}  // namespace layout
