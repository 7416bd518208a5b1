// Lets a library be declared before its folders hold any source file.
