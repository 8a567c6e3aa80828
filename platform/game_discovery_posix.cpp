#include "platform/game_discovery.h"

namespace drapeline::platform {

std::vector<GameInstall> findInstalledGames() {
    return findGameInstalls(DiscoveryPlaces::fromEnvironment());
}

}  // namespace drapeline::platform
