#include "host/startup/settings.h"

HostSettings Settings;
