#include "Collaborators.h"

#include <atomic>

namespace {
// No job or resolver class is built into the library yet: starting an item then behaves as when
// none can be created.
IDownloadJob* NoJob() { return nullptr; }
IRedirect* NoRedirect() { return nullptr; }

std::atomic<JobFactory> g_job{&NoJob};
std::atomic<RedirectFactory> g_redirect{&NoRedirect};
}  // namespace

IDownloadJob* CreateDownloadJob() { return g_job.load()(); }
IRedirect* CreateRedirect() { return g_redirect.load()(); }

void SetCollaboratorFactories(JobFactory job, RedirectFactory redirect) {
    g_job = job ? job : &NoJob;
    g_redirect = redirect ? redirect : &NoRedirect;
}
