#include "services/service_client.h"

namespace ornav {

const ServiceEnvironment& ServiceClient::current() {
  if (const ServiceClient* client = InstalledServiceClient::current()) return client->environment();
  static const ServiceEnvironment none;
  return none;
}

}  // namespace ornav
