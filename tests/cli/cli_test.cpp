#include "veltrane_cli.h"
#include <gtest/gtest.h>
