// How items create the objects of a run. The defaults are the library's own factories; tests put
// fakes in their place to drive items without a network.
#pragma once
#include "IDownloadJob.h"
#include "IRedirect.h"

using JobFactory = IDownloadJob* (*)();
using RedirectFactory = IRedirect* (*)();

IDownloadJob* CreateDownloadJob();
IRedirect* CreateRedirect();

// Replaces both factories; a null argument restores that factory's default.
void SetCollaboratorFactories(JobFactory job, RedirectFactory redirect);
