module hello {
    requires greet;
}
