// The plot windows' settings keys (see plot_settings_keys.h).
#include "plots/threads/plot_settings_keys.h"
