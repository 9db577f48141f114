// placeholder: the sample generator goes here
