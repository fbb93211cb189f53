// The sizes glTF gives its accessor types: components per element and bytes per component.
#pragma once

namespace vorel {

// 1 for SCALAR up to 16 for MAT4; 0 for a type glTF does not define.
int componentsOfType(int type);
// 1, 2 or 4 bytes; 0 for a component type glTF does not define.
int bytesOfComponent(int componentType);

}  // namespace vorel
