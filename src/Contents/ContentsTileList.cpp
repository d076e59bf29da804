#include "ContentsTileList.h"

#include <memory>
#include <utility>

#include "Contents.h"
#include "ContentsUrl.h"
#include "LibraryLog.h"

namespace {

constexpr long kStatusOk = 200;
constexpr long kStatusNotModified = 304;

}  // namespace

ContentsTileList FetchTileList(ContentsListCache& lists, ContentsConnectionPool& connections, uint64_t download) {
  const std::string url = CContents::GetURL();
  const KeptContentsList known = lists.Find(url);
  std::string body;
  FetchResult fetched;
  std::unique_ptr<ContentsConnection> connection = connections.Take();
  if (connection->Usable()) {
    fetched = connection->Fetch(url, known.list ? known.list->validators : ContentsValidators(), DownloadSettings(),
                                body);
  }
  connections.Give(std::move(connection));

  // The list of the very version the host confirmed, not one kept since.
  if (fetched.transferred && fetched.status == kStatusNotModified && known.list) {
    VARNIO_LOG(0, "contents file unchanged");
    lists.Keep(url, known.list, download);
    return {url, known.list->json, download};
  }
  std::string json;
  const bool answered = fetched.transferred && fetched.status == kStatusOk;
  if (answered && ContentsFileToJson(body, json)) {
    lists.Keep(url, std::make_shared<const GoodContentsList>(GoodContentsList{fetched.validators, json}), download);
    return {url, std::move(json), download};
  }
  const KeptContentsList last = lists.Find(url);
  if (last.list) {
    VARNIO_LOG(1, "no good contents file (status %ld); answering with the last good list of %s", fetched.status,
               url.c_str());
    return {url, last.list->json, last.download};
  }
  // No good list yet: what could be read, as ever.
  if (!answered) ContentsFileToJson(body, json);
  return {url, std::move(json), 0};
}

ContentsTileList KeptTileList(const ContentsListCache& lists) {
  const std::string url = CurrentContentsUrl();
  const KeptContentsList last = lists.Find(url);
  if (last.list) return {url, last.list->json, last.download};
  std::string json;
  ContentsFileToJson(std::string(), json);
  return {std::string(), std::move(json), 0};
}
