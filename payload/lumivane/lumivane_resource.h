// Resource ids of Lumivane.
#pragma once

#define IDI_LUMIVANE    1
