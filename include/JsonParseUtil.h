// Tiles, and the parsers that turn the framework's and the contents host's
// answers into them. No parser fails towards its caller: malformed input is
// logged and yields empty fields or an empty list.
#ifndef VARNIO_JSONPARSEUTIL_H_
#define VARNIO_JSONPARSEUTIL_H_

#include <map>
#include <string>
#include <vector>

// One tile. Numbers (width, timeout) are kept as decimal text because the
// writers copy every field unchanged into a JSON string.
struct stTileItem {
  std::string strType;         // "IOT_TILE_APP" or "IOT_TILE_VIDEO"; empty for routines and devices
  std::string strID;           // routine id, device id or fixed contents key
  std::string strName;         // display text
  std::string strImage;        // local absolute path, or the contents file's value unchanged
  std::string strFinishImage;  // image once executed; routines only
  std::string strTimeout;      // routines only
  std::string strWidth;        // pixels
  std::string strTitle;        // title of the tile's group; contents tiles only
};

// Never destroyed: download threads and the framework's threads may still
// read them while the process exits.
extern const std::string& g_strResDir;  // ends with '/'
extern const std::string& g_strRoutineWidth;
extern const std::string& g_strDeviceWidth;
extern const std::string& g_strAppWidth;
extern const std::string& g_strVideoWidth;

class CJsonParseUtil {
 public:
  CJsonParseUtil();
  ~CJsonParseUtil();

  // Rebuilds `tiles` from a routine-list answer: one tile per routine, in the
  // framework's order, with icons chosen from the label.
  void ParseRoutineList(const std::string& text, std::vector<stTileItem>& tiles);

  // Merge one routine change into `tiles`; tiles are matched by exact id.
  void AddRoutine(const std::string& id, std::string data, std::vector<stTileItem>& tiles);
  void UpdateRoutine(const std::string& id, std::string data, std::vector<stTileItem>& tiles);
  void DeleteRoutine(const std::string& id, std::vector<stTileItem>& tiles);

  // Replaces `tiles` with the four before-sign-in tiles: how, uses, start,
  // intro. True when the text is a whole contents file, with its section.
  bool ParseContentsList(const std::string& contents, std::vector<stTileItem>& tiles);

  // Stores the answer's "data" in `data`; false only when "result" is exactly "Fail".
  bool ParseExecuteResult(const std::string& text, std::string& data);

  // Replaces `tiles` with one camera tile per camera in a device list.
  void ParseDeviceList(const std::string& text, std::vector<stTileItem>& tiles);

  // The (normal, activated) icon paths for a routine label.
  void AssignRoutineIcons(const std::string& label, std::string& image, std::string& finishImage) const;

 private:
  void m_Initialize();
  void m_AssignIcons();

  std::map<std::string, std::string> m_mapIcons;
  std::map<std::string, std::string> m_mapActivatedIcons;
};

#endif  // VARNIO_JSONPARSEUTIL_H_
