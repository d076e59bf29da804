#include "ContentsTileList.h"

#include <memory>
#include <utility>

#include "Contents.h"
#include "LibraryLog.h"

namespace {

constexpr long kStatusOk = 200;
constexpr long kStatusNotModified = 304;

}  // namespace

ContentsTileList FetchTileList(ContentsListCache& lists, ContentsConnectionPool& connections) {
  const std::string url = CContents::GetURL();
  const std::shared_ptr<const GoodContentsList> known = lists.Find(url);
  std::string body;
  FetchResult fetched;
  std::unique_ptr<ContentsConnection> connection = connections.Take();
  if (connection->Usable()) {
    fetched = connection->Fetch(url, known ? known->validators : ContentsValidators(), DownloadSettings(), body);
  }
  connections.Give(std::move(connection));

  // The list of the very version the host confirmed, not one kept since.
  if (fetched.transferred && fetched.status == kStatusNotModified && known) {
    VARNIO_LOG(0, "contents file unchanged");
    return {url, known->json};
  }
  std::string json;
  const bool answered = fetched.transferred && fetched.status == kStatusOk;
  if (answered && ContentsFileToJson(body, json)) {
    lists.Keep(url, std::make_shared<const GoodContentsList>(GoodContentsList{fetched.validators, json}));
    return {url, std::move(json)};
  }
  if (const std::shared_ptr<const GoodContentsList> last = lists.Find(url)) {
    VARNIO_LOG(1, "no good contents file (status %ld); answering with the last good list of %s", fetched.status,
               url.c_str());
    return {url, last->json};
  }
  // No good list yet: what could be read, as ever.
  if (!answered) ContentsFileToJson(body, json);
  return {url, std::move(json)};
}
