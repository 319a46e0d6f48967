#include "batch.h"
#include <gtest/gtest.h>
