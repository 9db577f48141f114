// The test program carries the test service's image as this RCDATA resource.
#pragma once

#define TEST_SERVICE_RESOURCE 501
