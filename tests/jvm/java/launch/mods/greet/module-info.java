module greet {
    exports greet;
}
