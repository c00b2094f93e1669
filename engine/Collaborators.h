// How items create the objects of a run. The defaults are the library's own factories; tests put
// fakes in their place to drive items without a network.
#pragma once
#include "IDownloadJob.h"
#include "IRedirect.h"

using JobFactory = IDownloadJob* (*)();
using RedirectFactory = IRedirect* (*)();

// redirectsBefore: how many redirects led to this run; the library's own job caps the chain.
IDownloadJob* CreateDownloadJob(int redirectsBefore);
IRedirect* CreateRedirect();

// Replaces both factories; a null argument restores that factory's default. A test's job factory
// is not told the redirect count.
void SetCollaboratorFactories(JobFactory job, RedirectFactory redirect);
