#include "ui/PrintPageTab.h"
