#include "enrol.h"

namespace srcenrol {

int enrol(InputSourceRegistry& registry, std::ostream& out) {
  const std::int32_t status = registry.registerBundle(kBundlePath);
  if (status == 0) {
    out << kRegistered << '\n';
  } else {
    out << kRegistrationFailedPrefix << status << '\n';
  }

  // The list is asked for and reported whatever the registration answered: a bundle registered
  // earlier is still listed after a failed attempt.
  const std::optional<ListedSources> sources = registry.sourcesOfBundle(kBundleIdentifier);
  if (sources && !sources->empty()) {
    out << kListedPrefix << sources->size() << kListedSuffix << '\n';
    for (const auto& identifier : *sources) {
      if (identifier) out << kSourcePrefix << *identifier << '\n';
    }
  } else if (status == 0) {
    out << kNotListedYet << '\n';
  }
  out.flush();
  return 0;
}

}  // namespace srcenrol
