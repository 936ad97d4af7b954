#include "app/Single_Instance.h"
