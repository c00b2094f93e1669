// Makes the skinned classes known to the form reader, so that form descriptions may name them.
#pragma once

namespace skin {

void RegisterSkinClasses();

}  // namespace skin
