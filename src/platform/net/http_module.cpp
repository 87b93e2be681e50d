// The HTTP fetch as a module the player loads on its first lookup.
#include "platform/net/qt_http_fetcher.h"
#include "platform/on_demand_http_fetcher.h"

extern "C" Q_DECL_EXPORT velmora::HttpFetcher* velmora_create_http_fetcher() {
    static_assert(std::is_same_v<decltype(&velmora_create_http_fetcher), velmora::HttpModuleEntry>);
    return new velmora::QtHttpFetcher;
}
