// What liborvane exports: only the declarations marked ORVANE_API are visible to other programs.
#pragma once

#define ORVANE_API __attribute__((visibility("default")))
