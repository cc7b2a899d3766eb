// The string resources the parameter store loads. res/resource.h takes
// them from here, with the program's other ids.
#pragma once

#define IDS_PPP_ADAPTER         20001
