#pragma once
// The steps of the content build. Each reads its sources below the content folder,
// writes into the resource folder and returns false (after logging every fault) when
// something is wrong, so that the build stops.
#include <map>
#include <string>
#include <vector>

namespace kvcontent {

struct SheetFrame;

struct BuildPaths {
    std::string source;      ///< the content/ folder of the repository
    std::string target;      ///< the resource folder
    std::string fonts;       ///< folder of the DejaVu TrueType files
    std::string fontLicence; ///< licence text of those fonts
};

bool buildData(const BuildPaths& paths);
bool buildTexts(const BuildPaths& paths);
bool buildImages(const BuildPaths& paths);
bool buildFonts(const BuildPaths& paths);
bool buildSheets(const BuildPaths& paths);
/// The coconut-crab boss's eight sheets "coconut_crab_<part>_ss", "coconut_crab_sfx_ss" and
/// "coconut_crab_sfx_weakpoint_ss", with the frame counts of the animation set "coconut_crab".
bool buildBossSheets(const BuildPaths& paths, const std::map<std::string, int>& counts);
/// The troops screen's card portraits of these kelvos, sheet frontend_kelvo_ss.
bool buildPortraits(const BuildPaths& paths, const std::vector<std::string>& kelvos);
bool buildSounds(const BuildPaths& paths);
/// The front end's sheets: main-menu buttons and logo, its animated background, caustics.
bool buildFrontEnd(const BuildPaths& paths);
/// The scenery of the missions' environment layers: pictures, tile maps, paths, sheets.
bool buildEnvironment(const BuildPaths& paths);
/// Height, in tiles of 16 points, of the environment's reef at one of its 60 columns (16 points
/// wide each, from the left edge of a 960 x 608 point level).
int reefColumnHeight(int column);
/// The missions' levels: tile maps and drawings under levels/, the level objects' sheet global_ss.
bool buildLevels(const BuildPaths& paths);
/// The rock tiles of a mission's own drawing (`svg`, read from `source`) over a map of `columns`
/// x `rows` tiles of 32 points, row by row from the top: true where a reef polygon of the drawing
/// covers the whole tile. False (and a log line) when the drawing has no closed reef polygon of
/// absolute points, or a reef path of another form.
bool drawnReefTiles(const std::string& svg, const std::string& source, int columns, int rows,
                    std::vector<bool>& tiles);
/// The wall tiles of a map's text over `columns` x `rows` tiles of 32 points, row by row from the
/// top: 2 (spikes) where a "SpikyWall" object holds the tile's centre, 3 (kelp) where an object
/// whose property "isStickyWall" reads non-zero does, 0 elsewhere.
std::vector<int> wallTiles(const std::string& map, int columns, int rows);
/// The kraken consumable's animation, sheets kraken_fx_a_ss, kraken_fx_b_ss and kraken_fx_c_ss.
bool buildKrakenSheets(const BuildPaths& paths);
/// Sheets drawn as SVG files, one folder per sheet under art/sheets.
bool buildSvgSheets(const BuildPaths& paths);
/// The drawings of a folder as frames "<file>.png" at `scale` times their size in points (two
/// texels a point), `from` in a name replaced by `to`; false when a drawing cannot be read.
bool drawSvgFrames(const std::string& folder, double scale, const std::string& from, const std::string& to,
                   std::vector<SheetFrame>& frames);
/// The HUD's sheets hud_51_ss and hud_88_ss: the drawings under art/hud, the consumables' buttons
/// made from their shop icons, the double-tap hint's frames and a bubble portrait of every kelvo.
bool buildHudSheets(const BuildPaths& paths, const std::vector<std::string>& kelvos);
/// The dialogues' portraits, talking animations and image-step pictures.
bool buildChatter(const BuildPaths& paths);

} // namespace kvcontent
